// The stand-in's dispatch-style service objects. Each reads its arguments only through the
// pointers the caller passed, answers 0 for a message it does not know or a wrong argument
// count (leaving the result alone), and writes the result only when it answers non-zero.
#include "HostServiceObjects.h"

namespace standin {

namespace {

template <class T>
const T& Argument(void** arguments, int index) {
    return *static_cast<const T*>(arguments[index]);
}

template <class T>
int Answer(void* result, T value) {
    if (result) *static_cast<T*>(result) = value;
    return 1;
}

bool Covers(HWND registered, HWND target) {
    return target && (target == registered || IsChild(registered, target));
}

}  // namespace

int ApplicationService::Dispatch(int message, void* result, void** arguments, int count) {
    if (message == kAddAccelerators && count == 4) {
        Add(Argument<HWND>(arguments, 0), Argument<HACCEL*>(arguments, 1), Argument<int>(arguments, 2),
            Argument<UINT>(arguments, 3));
        return Answer(result, 1);
    }
    if (message == kRemoveAccelerators && count == 1) {
        Remove(Argument<HWND>(arguments, 0));
        return Answer(result, 1);
    }
    return 0;
}

void ApplicationService::Add(HWND window, const HACCEL* tables, int count, UINT mode) {
    Remove(window);
    Registration added{window, {}, mode};
    for (int i = 0; tables && i < count; ++i)
        if (tables[i]) added.tables.push_back(tables[i]);
    given_.insert(given_.end(), added.tables.begin(), added.tables.end());
    registrations_.push_back(added);
}

void ApplicationService::Remove(HWND window) {
    for (auto it = registrations_.begin(); it != registrations_.end();) {
        if (it->window == window) it = registrations_.erase(it);
        else ++it;
    }
}

bool ApplicationService::Translate(MSG& msg) const {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    // A copy: translating runs the plugin's command, which may register or remove tables.
    std::vector<Registration> current = registrations_;
    auto translate = [&msg](const Registration& r) {
        for (HACCEL table : r.tables)
            if (TranslateAcceleratorW(r.window, table, &msg)) return true;
        return false;
    };
    // The window the key was meant for comes first; a global table only after it.
    for (const Registration& r : current)
        if (IsWindow(r.window) && Covers(r.window, msg.hwnd) && translate(r)) return true;
    for (const Registration& r : current)
        if (r.mode == kTranslateGlobal && IsWindow(r.window) && !Covers(r.window, msg.hwnd) && translate(r))
            return true;
    return false;
}

// A destroyed table's handle no longer copies; a handle reused since for another table would
// pass for the old one, which only makes the check lenient.
int ApplicationService::TablesLeft() const {
    int left = 0;
    for (HACCEL table : given_)
        if (CopyAcceleratorTableW(table, nullptr, 0) > 0) ++left;
    return left;
}

std::vector<HWND> ApplicationService::RegisteredWindows() const {
    std::vector<HWND> windows;
    for (const Registration& r : registrations_) windows.push_back(r.window);
    return windows;
}

int ServiceFactory::Dispatch(int message, void* result, void** arguments, int count) {
    if (message == kGetServiceInterface && count == 1) {
        ++outstanding_;
        return Answer(result, &service_);
    }
    if (message == kReleaseServiceInterface && count == 1) {
        if (Argument<Dispatchable*>(arguments, 0) != &service_ || outstanding_ == 0) return Answer(result, 0);
        --outstanding_;
        return Answer(result, 1);
    }
    return 0;
}

int ServiceManager::Dispatch(int message, void* result, void** arguments, int count) {
    if (message != kGetServiceFactory || count != 1) return 0;
    if (!IsEqualGUID(Argument<GUID>(arguments, 0), kApplicationServiceId)) return Answer<Dispatchable*>(result, nullptr);
    return Answer<Dispatchable*>(result, &application_);
}

}  // namespace standin
