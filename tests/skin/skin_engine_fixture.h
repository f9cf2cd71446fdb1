// Real window trees for the engine tests: a "Form"-class container whose procedure
// records what reaches it, the listed progress-bar class, and probes for window
// properties and GDI objects.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace quenlo::skin {

inline constexpr UINT kEchoMessage = WM_APP + 1;  // answered by the form with kEchoResult
inline constexpr LRESULT kEchoResult = 0x1234;

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages the form's own procedure has seen since the last Clear.
std::vector<RecordedMessage>& FormMessages();
int CountFormMessages(UINT message);

// A visible window of class "Form": a child of one shared top-level host, or a
// top-level window of its own where ownership matters (message boxes).
class FormWindow {
public:
    explicit FormWindow(int width = 420, int height = 300, bool topLevel = false);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND get() const { return window_; }
    HWND Add(const char* className, const char* text, DWORD style, int x, int y, int width,
             int height, DWORD exStyle = 0);
    // Screen position of a client point of a child.
    POINT ScreenPointOf(HWND child, int x, int y) const;

private:
    HWND window_;
};

inline constexpr const char* kProgressClass = "ProgressBar20WndClass";  // a listed name
inline constexpr const char* kUnlistedClass = "QuenloUnlistedClass";
// System controls registered under the Visual Basic names the skin sorts by: the
// check box and option button groups are system buttons, the drive list a combo box.
inline constexpr const char* kCheckBoxClass = "ThunderRT6CheckBox";
inline constexpr const char* kOptionButtonClass = "ThunderRT6OptionButton";
inline constexpr const char* kDriveListClass = "ThunderRT6DriveListBox";

void RegisterEngineTestClasses();

// Names of the string properties a window carries.
std::set<std::string> PropertyNames(HWND window);

// Slot index of the highest GDI handle once enough objects are allocated to exhaust
// the free list. Wine reuses freed slots in no strict order, so it moves by a few
// either way; every object leaked raises it by one.
int GdiHighWater();

// Processes posted messages, timers and paints of this thread.
void Pump();

// The colour at (x, y) of the window's whole-window DC.
COLORREF WindowPixel(HWND window, int x, int y);
COLORREF ClientPixel(HWND window, int x, int y);

}  // namespace quenlo::skin
