// The view's accelerators through dispatch-style service objects laid out as the player's:
// registered for the view's dialog on start, translated by the stand-in host's application
// service, removed and given back at Quit; and no accelerators, without a crash, from a host
// that has no service manager, no factory, or refuses a call.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "bus/WindowRegistry.h"
#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"
#include "../../tools/host/HostServiceObjects.h"

namespace {

using standin::Dispatchable;

// What the plugin asked of the services, by message.
struct ServiceLog {
    std::map<int, int> calls;
    HWND window = nullptr;
    UINT mode = 99;
    int tables = 0;
    HACCEL firstTable = nullptr;
    void* released = nullptr;
};

// How the test's services fail, one switch per step.
struct ServiceFaults {
    bool noFactory = false;
    bool refuseInterface = false;
    bool refuseAccelerators = false;
};

// The application service: logs, then hands the call to the stand-in's own service, whose
// translation the keys then go through.
class LoggedApplication final : public Dispatchable {
public:
    LoggedApplication(standin::ApplicationService& real, ServiceLog& log, const ServiceFaults& faults)
        : real_(real), log_(log), faults_(faults) {}
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override {
        ++log_.calls[message];
        if (message == standin::kAddAccelerators && count == 4) {
            if (faults_.refuseAccelerators) return 0;
            log_.window = *static_cast<HWND*>(arguments[0]);
            log_.tables = *static_cast<int*>(arguments[2]);
            log_.firstTable = **static_cast<HACCEL**>(arguments[1]);
            log_.mode = *static_cast<UINT*>(arguments[3]);
        }
        return real_.Dispatch(message, result, arguments, count);
    }

private:
    standin::ApplicationService& real_;
    ServiceLog& log_;
    const ServiceFaults& faults_;
};

class LoggedFactory final : public Dispatchable {
public:
    LoggedFactory(Dispatchable& service, ServiceLog& log, const ServiceFaults& faults)
        : service_(service), log_(log), faults_(faults) {}
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override {
        ++log_.calls[message];
        if (message == standin::kGetServiceInterface && count == 1 && *static_cast<int*>(arguments[0]) == 1) {
            if (faults_.refuseInterface) return 0;
            *static_cast<Dispatchable**>(result) = &service_;
            return 1;
        }
        if (message == standin::kReleaseServiceInterface && count == 1) {
            log_.released = *static_cast<void**>(arguments[0]);
            *static_cast<int*>(result) = 1;
            return 1;
        }
        return 0;
    }

private:
    Dispatchable& service_;
    ServiceLog& log_;
    const ServiceFaults& faults_;
};

class LoggedManager final : public Dispatchable {
public:
    LoggedManager(Dispatchable& factory, ServiceLog& log, const ServiceFaults& faults)
        : factory_(factory), log_(log), faults_(faults) {}
    int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments, int count) override {
        ++log_.calls[message];
        if (message != standin::kGetServiceFactory || count != 1) return 0;
        bool known = IsEqualGUID(*static_cast<GUID*>(arguments[0]), standin::kApplicationServiceId);
        *static_cast<Dispatchable**>(result) = known && !faults_.noFactory ? &factory_ : nullptr;
        return 1;
    }

private:
    Dispatchable& factory_;
    ServiceLog& log_;
    const ServiceFaults& faults_;
};

class AcceleratorServiceTest : public LivePluginTest {
protected:
    void UseServices() { Fake().serviceManager = reinterpret_cast<LRESULT>(static_cast<Dispatchable*>(&manager)); }

    // Alt+D as the host's message loop sees it on its own main window, with Alt held in this
    // thread's key state; answers whether the stand-in's service translated it.
    bool TranslateAltD() {
        BYTE keys[256] = {}, saved[256] = {};
        GetKeyboardState(saved);
        std::copy(std::begin(saved), std::end(saved), keys);
        keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
        MSG msg = {host, WM_SYSKEYDOWN, 'D', 0x20000001, 0, {0, 0}};
        bool translated = application.Translate(msg);
        SetKeyboardState(saved);
        return translated;
    }

    ServiceLog log;
    ServiceFaults faults;
    standin::ApplicationService application;
    LoggedApplication loggedApplication{application, log, faults};
    LoggedFactory factory{loggedApplication, log, faults};
    LoggedManager manager{factory, log, faults};
};

TEST_F(AcceleratorServiceTest, ViewRegistersGloballyTranslatesAndGivesEverythingBackAtQuit) {
    UseServices();
    StartPlugin();
    HWND frame = GetWindow(kFrameWindowId);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(log.calls[standin::kGetServiceFactory], 1);
    EXPECT_EQ(log.calls[standin::kGetServiceInterface], 1);
    EXPECT_EQ(log.calls[standin::kAddAccelerators], 1);
    EXPECT_EQ(log.window, View()) << "registered for the view's dialog";
    EXPECT_EQ(log.mode, standin::kTranslateGlobal);
    EXPECT_EQ(log.tables, 1);
    EXPECT_EQ(Command(kCmdAcceleratorsRegistered, 1), 1);
    // Every key leaves the host's menu bar alone.
    ACCEL entries[8] = {};
    int count = CopyAcceleratorTableW(log.firstTable, entries, 8);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; ++i) EXPECT_TRUE(entries[i].fVirt & FNOINVERT) << "key " << entries[i].key;

    // A key meant for the host's own window still reaches the view: the table is global.
    ASSERT_FALSE(IsWindowVisible(frame));
    EXPECT_TRUE(TranslateAltD());
    EXPECT_TRUE(PumpUntil([frame] { return IsWindowVisible(frame) != FALSE; }, 10000)) << "Alt+D shows the frame";

    HWND dialog = View();
    CloseAndQuit();
    EXPECT_EQ(log.calls[standin::kRemoveAccelerators], 1);
    EXPECT_TRUE(application.RegisteredWindows().empty());
    EXPECT_EQ(log.calls[standin::kReleaseServiceInterface], 1);
    EXPECT_EQ(log.released, static_cast<void*>(static_cast<Dispatchable*>(&loggedApplication)));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(TranslateAltD()) << "nothing is translated for a plugin that quit";
    EXPECT_EQ(CopyAcceleratorTableW(log.firstTable, nullptr, 0), 0) << "the table is destroyed once the host let go";
}

// Each way a host can come up empty: the plugin starts and quits all the same, with no
// accelerators, and gives back whatever interface it did obtain.
TEST_F(AcceleratorServiceTest, AHostWithoutTheServiceLeavesTheViewWithoutAccelerators) {
    constexpr LRESULT kOurs = -1;
    struct Case {
        const char* name;
        LRESULT managerAnswer;  // kOurs: the test's manager
        ServiceFaults faults;
        int interfaces;         // interfaces the plugin must give back
    };
    const Case cases[] = {
        {"no service manager", 0, {}, 0},
        {"service manager answer 1", 1, {}, 0},
        {"no factory", kOurs, {true, false, false}, 0},
        {"interface refused", kOurs, {false, true, false}, 0},
        {"accelerators refused", kOurs, {false, false, true}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log = ServiceLog();
        faults = c.faults;
        if (c.managerAnswer == kOurs) UseServices();
        else Fake().serviceManager = c.managerAnswer;
        StartPlugin();
        EXPECT_EQ(Command(kCmdAcceleratorsRegistered, 1), 0);
        CloseAndQuit();
        EXPECT_EQ(log.calls[standin::kRemoveAccelerators], 0) << "nothing to remove";
        EXPECT_EQ(log.calls[standin::kReleaseServiceInterface], c.interfaces);
        EXPECT_TRUE(application.RegisteredWindows().empty());
        BeginNextLife();
    }
}

// The stand-in's translation honours the mode: a global table sees every key while its
// window exists, the others only keys for their window and its children.
TEST(StandinAcceleratorsTest, TranslationFollowsTheMode) {
    HWND owner = CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    HWND other = CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ACCEL f2 = {FVIRTKEY, VK_F2, 4242};
    HACCEL table = CreateAcceleratorTableW(&f2, 1);
    struct Case {
        UINT mode;
        HWND target;
        bool translated;
    };
    const Case cases[] = {
        {standin::kTranslateNormal, owner, true},  {standin::kTranslateNormal, child, true},
        {standin::kTranslateNormal, other, false}, {standin::kTranslateChild, child, true},
        {standin::kTranslateChild, other, false},  {standin::kTranslateGlobal, other, true},
    };
    for (const Case& c : cases) {
        standin::ApplicationService service;
        HACCEL tables[] = {table};
        HACCEL* tablesArgument = tables;
        HWND window = owner;
        int count = 1;
        UINT mode = c.mode;
        void* arguments[] = {&window, &tablesArgument, &count, &mode};
        int result = 0;
        ASSERT_NE(service.Dispatch(standin::kAddAccelerators, &result, arguments, 4), 0);
        MSG msg = {c.target, WM_KEYDOWN, VK_F2, 1, 0, {0, 0}};
        EXPECT_EQ(service.Translate(msg), c.translated) << "mode " << c.mode << " target " << c.target;
        void* removeArguments[] = {&window};
        service.Dispatch(standin::kRemoveAccelerators, &result, removeArguments, 1);
        EXPECT_FALSE(service.Translate(msg)) << "removed";
    }
    DestroyAcceleratorTable(table);
    DestroyWindow(other);
    DestroyWindow(owner);
}

}  // namespace
