// The stand-in's service objects as the player lays them out: a service manager that knows the
// application service, that service's factory, which counts the interfaces it handed out, and
// the application service, which keeps the accelerator tables plugins register for their
// windows and translates key messages through them.
#pragma once

#include <windows.h>

#include <vector>

#include "PlayerInterface.h"

namespace standin {

class ApplicationService final : public Dispatchable {
public:
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override;

    // Translates msg through a table registered for its window (or an ancestor), then through
    // the tables registered to translate every key. The tables stay the plugin's.
    bool Translate(MSG& msg) const;
    // Windows that still have tables registered.
    std::vector<HWND> RegisteredWindows() const;
    // How many of the tables ever registered still exist: a plugin destroys its own.
    int TablesLeft() const;

private:
    struct Registration {
        HWND window;
        std::vector<HACCEL> tables;
        UINT mode;
    };
    void Add(HWND window, const HACCEL* tables, int count, UINT mode);
    void Remove(HWND window);

    std::vector<Registration> registrations_;
    std::vector<HACCEL> given_;
};

class ServiceFactory final : public Dispatchable {
public:
    explicit ServiceFactory(Dispatchable& service) : service_(service) {}
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override;

    // Interfaces handed out and not given back.
    int Outstanding() const { return outstanding_; }

private:
    Dispatchable& service_;
    int outstanding_ = 0;
};

class ServiceManager final : public Dispatchable {
public:
    explicit ServiceManager(ServiceFactory& application) : application_(application) {}
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override;

private:
    ServiceFactory& application_;
};

// The three together, wired to each other.
struct HostServiceSet {
    ApplicationService application;
    ServiceFactory applicationFactory{application};
    ServiceManager manager{applicationFactory};
};

}  // namespace standin
