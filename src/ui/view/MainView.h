// The object behind the view's dialog: it owns the view's controls and options, lays the panes
// out, takes the skin colours, registers the view's accelerators and answers the command bus.
#pragma once

#include <memory>
#include <string>

#include "host/HostAccelerators.h"
#include "host/SkinColors.h"
#include "settings/MainViewOptions.h"
#include "settings/SettingsFile.h"
#include "ui/framework/WindowObject.h"

class PluginContext;

class MainView : public WindowObject {
public:
    MainView(HWND dialog, HWND host, PluginContext& context);

    HWND Dialog() const { return dialog_; }
    const MainViewOptions& Options() const { return options_; }
    const SkinColors& Colors() const { return colors_; }
    const std::wstring& PlayingPath() const { return playingPath_; }
    bool AcceleratorsRegistered() const { return accelerators_ && accelerators_->Registered(); }

    // Dialog handlers: non-zero means handled.
    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSize(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnCommand(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDisplayChange(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~MainView() override;
    void OnLastRelease() override;

private:
    void Layout();
    void ApplyColors();
    void ReadPlayingPath();
    LRESULT Answer(LRESULT value);

    HWND dialog_;
    HWND host_;
    SettingsFile settings_;
    MainViewOptions options_;
    SkinColors colors_;
    std::unique_ptr<HostAccelerators> accelerators_;
    std::wstring playingPath_;
};

// The dialog procedure of the view's dialog.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
