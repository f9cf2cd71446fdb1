// Message boxes of skinned windows are skinned as they appear, and a person closes
// them through their skinned buttons: a key or a click, delivered by the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "skin/engine/skin_attachment.h"
#include "skin/engine/skin_window_proc.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "live_input.h"
#include "skin_engine_fixture.h"
#include "test_windows.h"

namespace quenlo::skin {
namespace {

constexpr const char* kBoxTitle = "box title";

bool IsSkinned(HWND window) {
    return GetSkinProp<WNDPROC>(window, kPropProcAddr) != nullptr &&
           GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinWndProc);
}

// What the box showed while it was up, seen from its own modal loop.
struct BoxSeen {
    bool skinned = false;
    bool buttonSkinned = false;
    bool buttonShowedItsPicture = false;
    bool buttonShowedPressed = false;
};

// Steps run one per timer tick inside the box's modal loop; each returns true when
// it is done, false to be tried again at the next tick.
struct Script {
    std::vector<std::function<bool(HWND box, HWND button)>> steps;
    size_t next = 0;
    int ticks = 0;
};

// Far more ticks than the steps need, however slowly a busy machine delivers input and
// paints; a box still up then is closed with this answer.
constexpr int kTickLimit = 1000;
constexpr int kGaveUp = 0x7A11;
Script* script = nullptr;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", kBoxTitle);
    if (box != nullptr && ++script->ticks > kTickLimit) {
        KillTimer(nullptr, timer);
        QueueKey(VK_SPACE, false);  // nothing a step pressed stays down for the tests after
        QueueMouseButton(false);
        EndDialog(box, kGaveUp);
        return;
    }
    if (box == nullptr || GetActiveWindow() != box || script->next >= script->steps.size()) {
        return;
    }
    HWND button = FindWindowExA(box, nullptr, "Button", nullptr);
    if (script->steps[script->next](box, button)) {
        ++script->next;
    }
    if (script->next == script->steps.size()) {
        KillTimer(nullptr, timer);
    }
}

// Shows a box over the owner and runs the steps in its modal loop.
INT_PTR ShowBox(const std::function<INT_PTR()>& show, Script& steps) {
    script = &steps;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, RunNextStep);
    const INT_PTR answer = show();
    KillTimer(nullptr, timer);
    script = nullptr;
    return answer;
}

// A dialog template in memory: a caption and one OK button. Unlike Wine's message
// box, whose template asks for no idle notices, it tells its owner when it goes idle.
std::vector<WORD> OkDialogTemplate() {
    std::vector<WORD> words;
    const auto add32 = [&](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto addText = [&](const wchar_t* text) {
        for (; *text != 0; ++text) {
            words.push_back(static_cast<WORD>(*text));
        }
        words.push_back(0);
    };
    add32(WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE);
    add32(0);
    words.insert(words.end(), {1, 10, 10, 120, 60});  // one item; x, y, cx, cy
    words.insert(words.end(), {0, 0});                // no menu, the dialog class
    addText(L"box title");
    if (words.size() % 2 != 0) {
        words.push_back(0);  // items start on a DWORD boundary
    }
    add32(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    add32(0);
    words.insert(words.end(), {35, 30, 50, 14, IDOK, 0xFFFF, 0x0080});  // a "Button"
    addText(L"OK");
    words.push_back(0);  // no creation data
    return words;
}

INT_PTR CALLBACK OkDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// Each step waits for what it looks at: the skin may come with the box's first idle
// moment, the button's picture with its next paint, and a key or mouse button queued
// at one tick reaches the button through the system's input at a later one.
bool LookAtTheBox(HWND box, HWND button, BoxSeen& seen) {
    seen.skinned = button != nullptr && IsSkinned(box);
    if (!seen.skinned) {
        return false;
    }
    seen.buttonSkinned = IsSkinned(button);
    seen.buttonShowedItsPicture = ScreenShowsButtonState(button, kStateNormal) ||
                                  ScreenShowsButtonState(button, kStateHover);
    return seen.buttonShowedItsPicture;
}

bool ButtonShowsPressed(HWND button, BoxSeen& seen) {
    seen.buttonShowedPressed = GetSkinProp<INT_PTR>(button, kPropOldState) == kStatePressed &&
                               ScreenShowsButtonState(button, kStatePressed);
    return seen.buttonShowedPressed;
}

TEST(SkinnedDialogs, BoxOfASkinnedFormIsSkinnedAndClosesWithSpaceOnItsSkinnedButton) {
    FormWindow owner(300, 200, true);
    ApplySkin(owner.get());
    BringToFront(owner.get());
    const int before = SkinnedWindowCount;
    BoxSeen seen;
    Script steps{{
        [&](HWND box, HWND button) { return LookAtTheBox(box, button, seen); },
        [&](HWND, HWND) {
            QueueKey(VK_SPACE, true);
            return true;
        },
        [&](HWND, HWND button) {
            if (!ButtonShowsPressed(button, seen)) {
                return false;
            }
            QueueKey(VK_SPACE, false);
            return true;
        },
    }};

    EXPECT_EQ(ShowBox([&] { return MessageBoxA(owner.get(), "text", kBoxTitle, MB_OK); }, steps),
              IDOK);

    EXPECT_EQ(steps.next, steps.steps.size());
    EXPECT_TRUE(seen.skinned);
    EXPECT_TRUE(seen.buttonSkinned);
    EXPECT_TRUE(seen.buttonShowedItsPicture);
    EXPECT_TRUE(seen.buttonShowedPressed);
    EXPECT_EQ(SkinnedWindowCount, before);  // the box detached itself as it went
    RemoveSkin(owner.get());
    EXPECT_EQ(SkinnedWindowCount, 0);
}

// Activation moving from a skinned form to another window skins that window only when
// the form owns it: a window of another owner, or of none, keeps its own look.
TEST(SkinnedDialogs, ActivationSkinsOnlyAWindowTheFormOwns) {
    FormWindow form(300, 200, true);
    FormWindow stranger(300, 200, true);
    ApplySkin(form.get());
    const auto popup = [](HWND owner) {
        HWND window = CreateWindowExA(0, "#32770", "popup", WS_POPUP | WS_CAPTION, 40, 40, 120, 80,
                                      owner, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOWNA);
        return window;
    };
    const std::pair<HWND, bool> cases[] = {
        {popup(stranger.get()), false}, {popup(nullptr), false}, {popup(form.get()), true}};

    for (const auto& [window, owned] : cases) {
        SetActiveWindow(form.get());
        Pump();
        ASSERT_EQ(GetActiveWindow(), form.get());
        SetActiveWindow(window);  // the form hears WM_ACTIVATE naming this window
        Pump();
        ASSERT_EQ(GetActiveWindow(), window);
        EXPECT_EQ(IsSkinned(window), owned) << (owned ? "owned" : "not owned");
    }

    for (const auto& [window, owned] : cases) {
        RemoveSkin(window);
        DestroyWindow(window);
    }
    RemoveSkin(form.get());
    EXPECT_EQ(SkinnedWindowCount, 0);
}

// A window of no container class: only the dialog's idle notice can bring it the skin.
TEST(SkinnedDialogs, DialogGoneIdleOverAnyOwnerIsSkinnedAndClosesWithAClickOnItsButton) {
    RegisterEngineTestClasses();
    HWND owner = CreateWindowExA(0, kUnlistedClass, "owner", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                                 80, 80, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ApplySkin(owner);
    BringToFront(owner);
    const int before = SkinnedWindowCount;
    BoxSeen seen;
    Script steps{{
        [&](HWND box, HWND button) { return LookAtTheBox(box, button, seen); },
        [&](HWND, HWND button) {
            QueueMouseMove(CentreOf(button));
            QueueMouseButton(true);
            return true;
        },
        [&](HWND, HWND button) {
            if (!ButtonShowsPressed(button, seen)) {
                return false;
            }
            QueueMouseButton(false);
            return true;
        },
    }};

    const std::vector<WORD> dialog = OkDialogTemplate();
    EXPECT_EQ(ShowBox(
                  [&] {
                      return DialogBoxIndirectParamA(
                          nullptr, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                          OkDialogProc, 0);
                  },
                  steps),
              IDOK);

    EXPECT_EQ(steps.next, steps.steps.size());
    EXPECT_TRUE(seen.skinned);
    EXPECT_TRUE(seen.buttonSkinned);
    EXPECT_TRUE(seen.buttonShowedItsPicture);
    EXPECT_TRUE(seen.buttonShowedPressed);
    EXPECT_EQ(SkinnedWindowCount, before);
    RemoveSkin(owner);
    DestroyWindow(owner);
    EXPECT_EQ(SkinnedWindowCount, 0);
}

}  // namespace
}  // namespace quenlo::skin
