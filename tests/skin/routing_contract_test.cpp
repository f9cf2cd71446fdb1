// The contract of the skin's window procedure, for every routed message and every
// kind of window: the previous procedure receives the message exactly once (or not
// at all, where the skin draws alone) and what it returned is what the sender gets;
// the skin's own work happens on the side of passing on that each handler gives.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "skin/engine/skin_attachment.h"
#include "skin/engine/skin_window_proc.h"
#include "skin/registry/fade_timer.h"
#include "skin/registry/skin_state.h"
#include "skin/registry/window_props.h"
#include "skin_engine_fixture.h"

namespace quenlo::skin {
namespace {

// A procedure put under the skin, so it is the "previous procedure" the skin passes
// on to. For the one message a test probes, it counts arrivals, runs the test's check
// once the window's own procedure has handled it (the skin has not yet regained
// control), and answers with a value no real procedure would give.
struct Probe {
    HWND window = nullptr;
    UINT message = 0;
    int arrivals = 0;
    std::function<void()> atPassOn;
};
Probe probe;
std::map<HWND, WNDPROC> originalProcedures;

LRESULT ResultMark(UINT message) {
    return static_cast<LRESULT>(0x5EED0000 + message);
}

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // While the skin makes the system's object, the system asks a look-alike which class
    // it stands for (another WM_GETOBJECT); only a reader's own request counts.
    const bool probed = window == probe.window && message == probe.message &&
                        (message != WM_GETOBJECT || static_cast<LONG>(lParam) == OBJID_CLIENT);
    const LRESULT result =
        CallWindowProcA(originalProcedures[window], window, message, wParam, lParam);
    if (!probed) {
        return result;
    }
    ++probe.arrivals;
    if (probe.atPassOn) {
        probe.atPassOn();
    }
    return ResultMark(message);
}

void PutRecorderUnder(HWND window) {
    originalProcedures[window] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecorderProc)));
}

bool IsSkinned(HWND window) {
    return GetSkinProp<WNDPROC>(window, kPropProcAddr) != nullptr;
}

// One window of every kind the handlers tell apart.
enum class Kind {
    Container,
    PushButton,
    CheckStyledButton,
    EditableCombo,
    ListCombo,
    DriveList,
    CheckBox,
    OptionButton,
    Header,
    ProgressBar,
    TextBox,
};

struct KindInfo {
    Kind kind;
    const char* name;
};
constexpr KindInfo kKinds[] = {
    {Kind::Container, "container"},       {Kind::PushButton, "push button"},
    {Kind::CheckStyledButton, "check-styled button"},
    {Kind::EditableCombo, "editable combo"}, {Kind::ListCombo, "drop-down list combo"},
    {Kind::DriveList, "drive list"},      {Kind::CheckBox, "check box"},
    {Kind::OptionButton, "option button"}, {Kind::Header, "header"},
    {Kind::ProgressBar, "progress bar"},  {Kind::TextBox, "text box"},
};

HWND AddHeader(FormWindow& form, int x, int y) {
    HWND header = form.Add(WC_HEADERA, "", HDS_BUTTONS, x, y, 200, 20);
    for (const char* text : {"名称", "大小"}) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.cxy = 80;
        item.pszText = const_cast<char*>(text);
        SendMessageA(header, HDM_INSERTITEMA, 10, reinterpret_cast<LPARAM>(&item));
    }
    return header;
}

HWND AddKind(FormWindow& form, Kind kind) {
    switch (kind) {
        case Kind::Container: {
            HWND panel = form.Add("Form", "", 0, 300, 220, 100, 60);
            CreateWindowExA(0, "Button", "in", WS_CHILD | WS_VISIBLE, 5, 5, 60, 22, panel, nullptr,
                            nullptr, nullptr);
            return panel;
        }
        case Kind::PushButton:
            return form.Add("Button", "Go", 0, 10, 10, 105, 25);
        case Kind::CheckStyledButton:
            return form.Add("Button", "check", BS_AUTOCHECKBOX, 10, 40, 100, 20);
        case Kind::EditableCombo:
            return form.Add("ComboBox", "", CBS_DROPDOWN, 130, 10, 120, 150);
        case Kind::ListCombo:
            return form.Add("ComboBox", "", CBS_DROPDOWNLIST, 130, 40, 120, 150);
        case Kind::DriveList:
            return form.Add(kDriveListClass, "", CBS_DROPDOWNLIST, 130, 70, 120, 150);
        case Kind::CheckBox:
            return form.Add(kCheckBoxClass, "check", BS_AUTOCHECKBOX, 10, 70, 100, 17);
        case Kind::OptionButton:
            return form.Add(kOptionButtonClass, "option", BS_AUTORADIOBUTTON, 10, 100, 100, 17);
        case Kind::Header:
            return AddHeader(form, 10, 130);
        case Kind::ProgressBar:
            return form.Add(kProgressClass, "", 0, 10, 160, 200, 20);
        case Kind::TextBox:
            return form.Add("Edit", "text", 0, 10, 190, 120, 22, WS_EX_CLIENTEDGE);
    }
    return nullptr;
}

struct RoutedMessage {
    UINT message;
    const char* name;
};
constexpr RoutedMessage kRouted[] = {
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_PAINT, "WM_PAINT"},
    {WM_DRAWITEM, "WM_DRAWITEM"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_TIMER, "WM_TIMER"},
    {WM_ENTERIDLE, "WM_ENTERIDLE"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETOBJECT, "WM_GETOBJECT"},
    {WM_APP + 5, "a message the skin does not route"},
};

// How often the previous procedure must see the message: never for an owner-draw
// notice, nor where the paint handlers draw the whole window themselves, nor where the
// skin tells a reader what a check box or an option button is.
int ExpectedArrivals(UINT message, Kind kind) {
    switch (message) {
        case WM_DRAWITEM:
            return 0;
        case WM_GETOBJECT:
            return kind == Kind::CheckStyledButton || kind == Kind::CheckBox ||
                           kind == Kind::OptionButton
                       ? 0
                       : 1;
        case WM_PAINT:
            return kind == Kind::PushButton || kind == Kind::EditableCombo ||
                           kind == Kind::Header || kind == Kind::ProgressBar
                       ? 0
                       : 1;
        case WM_NCPAINT:
            return kind == Kind::ProgressBar ? 0 : 1;
        default:
            return 1;
    }
}

// SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE, which MinGW's headers leave out: without them
// the default procedure answers a position notice with WM_SIZE, and a button's new
// region then sends a second notice of its own.
constexpr UINT kNoClientSizeOrMove = 0x0800 | 0x1000;

class RoutingContract : public ::testing::Test {
protected:
    void SetUp() override {
        for (const KindInfo& info : kKinds) {
            windows[info.kind] = AddKind(form, info.kind);
        }
        edit = windows[Kind::TextBox];
        for (auto& [kind, window] : windows) {
            PutRecorderUnder(window);
        }
        PutRecorderUnder(form.get());
        ApplySkin(form.get());
        Pump();
    }
    void TearDown() override {
        probe = {};
        ReleaseCapture();
        RemoveSkin(form.get());
        EXPECT_EQ(SkinnedWindowCount, 0);
    }

    // A window that appears later, as a dialog or a drop-down list does.
    HWND Newcomer() {
        return CreateWindowExA(0, kUnlistedClass, "", WS_CHILD, 0, 0, 10, 10, form.get(), nullptr,
                               nullptr, nullptr);
    }

    // Sends the message with arguments a real sender would use; the sender's result.
    LRESULT SendRouted(HWND window, UINT message) {
        switch (message) {
            case WM_SIZE: {
                RECT client{};
                GetClientRect(window, &client);
                return SendMessageA(window, message, SIZE_RESTORED,
                                    MAKELPARAM(client.right, client.bottom));
            }
            case WM_ENABLE:
                return SendMessageA(window, message, TRUE, 0);
            case WM_DRAWITEM: {
                DRAWITEMSTRUCT item{};
                item.CtlType = ODT_BUTTON;
                item.hwndItem = windows[Kind::PushButton];
                return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(&item));
            }
            case WM_WINDOWPOSCHANGED: {
                RECT box{};
                GetWindowRect(window, &box);
                MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&box), 2);
                WINDOWPOS position{window, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top,
                                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       kNoClientSizeOrMove};
                return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(&position));
            }
            case WM_NCPAINT:
                return SendMessageA(window, message, 1, 0);
            case WM_KEYDOWN:
            case WM_KEYUP:
                return SendMessageA(window, message, VK_SPACE, 0);
            case WM_TIMER:
                return SendMessageA(window, message, kFadeTimerId, 0);
            case WM_ENTERIDLE:
            case WM_CTLCOLORLISTBOX: {
                HWND newcomer = Newcomer();
                HDC dc = GetDC(window);
                const WPARAM wParam =
                    message == WM_ENTERIDLE ? MSGF_DIALOGBOX : reinterpret_cast<WPARAM>(dc);
                const LRESULT result =
                    SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(newcomer));
                ReleaseDC(window, dc);
                DestroyWindow(newcomer);
                return result;
            }
            case WM_CTLCOLOREDIT: {
                HDC dc = GetDC(edit);
                const LRESULT result = SendMessageA(window, message, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(edit));
                ReleaseDC(edit, dc);
                return result;
            }
            case WM_MOUSEMOVE:
                return SendMessageA(window, message, 0, MAKELPARAM(5, 5));
            case WM_LBUTTONDOWN:
                return SendMessageA(window, message, MK_LBUTTON, MAKELPARAM(5, 5));
            case WM_LBUTTONUP:
                return SendMessageA(window, message, 0, MAKELPARAM(5, 5));
            case WM_SETTEXT:
                return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>("x"));
            case WM_GETOBJECT:
                return SendMessageA(window, message, 0, static_cast<LONG>(OBJID_CLIENT));
            default:
                return SendMessageA(window, message, 0, 0);
        }
    }

    // The previous procedure's arrivals and the sender's result for one message.
    std::pair<int, LRESULT> Deliver(HWND window, UINT message,
                                    std::function<void()> atPassOn = nullptr) {
        probe = {window, message, 0, std::move(atPassOn)};
        const LRESULT result = SendRouted(window, message);
        const int arrivals = probe.arrivals;
        probe = {};
        return {arrivals, result};
    }

    FormWindow form{460, 300};
    std::map<Kind, HWND> windows;
    HWND edit{};
};

TEST_F(RoutingContract, EveryRoutedMessageReachesThePreviousProcedureOnceAndItsResultComesBack) {
    for (const KindInfo& info : kKinds) {
        HWND window = windows[info.kind];
        for (const RoutedMessage& routed : kRouted) {
            SCOPED_TRACE(std::string(routed.name) + " to the " + info.name);
            ASSERT_TRUE(IsSkinned(window));
            const auto [arrivals, result] = Deliver(window, routed.message);
            const int expected = ExpectedArrivals(routed.message, info.kind);
            EXPECT_EQ(arrivals, expected);
            if (routed.message == WM_GETOBJECT && expected == 0) {
                // The skin's own object, which the sender takes up.
                IUnknown* object = nullptr;
                EXPECT_TRUE(SUCCEEDED(ObjectFromLresult(result, __uuidof(IAccessible), 0,
                                                        reinterpret_cast<void**>(&object))));
                if (object != nullptr) {
                    object->Release();
                }
            } else {
                EXPECT_EQ(result, expected == 1 ? ResultMark(routed.message) : 0);
            }
            // A message may open a list or take the mouse; put things back.
            if (info.kind == Kind::ListCombo || info.kind == Kind::EditableCombo ||
                info.kind == Kind::DriveList) {
                SendMessageA(window, CB_SHOWDROPDOWN, FALSE, 0);
            }
            ReleaseCapture();
            Pump();
        }
    }
}

TEST_F(RoutingContract, DestroyedWindowsDetachBeforeTheirPreviousProcedureSeesTheMessage) {
    for (const KindInfo& info : kKinds) {
        SCOPED_TRACE(info.name);
        HWND window = AddKind(form, info.kind);
        PutRecorderUnder(window);
        ApplySkin(window);
        HWND child = GetWindow(window, GW_CHILD);
        const int detaching = child != nullptr && IsSkinned(child) ? 2 : 1;
        const int before = SkinnedWindowCount;
        bool detachedFirst = false;
        probe = {window, WM_DESTROY, 0, [&] {
                     detachedFirst = !IsSkinned(window) &&
                                     GetWindowLongPtrA(window, GWLP_WNDPROC) ==
                                         reinterpret_cast<LONG_PTR>(RecorderProc) &&
                                     (child == nullptr || !IsSkinned(child));
                 }};

        DestroyWindow(window);

        EXPECT_EQ(probe.arrivals, 1);
        EXPECT_TRUE(detachedFirst);
        EXPECT_EQ(SkinnedWindowCount, before - detaching);
        probe = {};
    }
}

TEST_F(RoutingContract, DrawRequestsForItemsTheSkinDoesNotPaintReachTheirOwnerOnce) {
    for (HWND item : {windows[Kind::CheckStyledButton], edit}) {
        DRAWITEMSTRUCT request{};
        request.CtlType = item == edit ? ODT_STATIC : ODT_BUTTON;
        request.hwndItem = item;
        probe = {form.get(), WM_DRAWITEM, 0, nullptr};
        const LRESULT result =
            SendMessageA(form.get(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(probe.arrivals, 1);
        EXPECT_EQ(result, ResultMark(WM_DRAWITEM));
        probe = {};
    }
}

// Each row: the message, the window it goes to, what holds when the previous
// procedure receives it, and what holds once the skin has returned.
struct Side {
    const char* name;
    std::function<void()> arrange;
    HWND window;
    UINT message;
    std::function<bool()> atPassOn;
    std::function<bool()> after;
};

int Prop(HWND window, const char* name) {
    return static_cast<int>(GetSkinProp<INT_PTR>(window, name));
}

TEST_F(RoutingContract, SkinWorkHappensOnTheSideOfPassingOnThatEachHandlerGives) {
    HWND button = windows[Kind::PushButton];
    HWND header = windows[Kind::Header];
    HWND combo = windows[Kind::ListCombo];
    HWND check = windows[Kind::CheckBox];
    HWND option = windows[Kind::OptionButton];
    HWND container = form.get();
    HWND newcomer = nullptr;
    HDC editDc = GetDC(edit);
    const auto setProp = [](HWND window, const char* name, int value) {
        SetSkinProp(window, name, INT_PTR{value});
    };

    const std::vector<Side> sides{
        {"button down: passed on, then pressed", [&] { setProp(button, kPropOldState, 0); },
         button, WM_LBUTTONDOWN, [&] { return Prop(button, kPropOldState) == 0; },
         [&] { return Prop(button, kPropOldState) == kStatePressed; }},
        {"button up: passed on, then released",
         [&] {
             setProp(button, kPropOldState, 2);
             setProp(button, kPropMouseFlag, 1);
         },
         button, WM_LBUTTONUP,
         [&] { return Prop(button, kPropOldState) == 2 && Prop(button, kPropMouseFlag) == 1; },
         [&] { return Prop(button, kPropOldState) == 0 && Prop(button, kPropAlphaLevel) == 60; }},
        {"space up: passed on, then released", [&] { setProp(button, kPropOldState, 2); }, button,
         WM_KEYUP, [&] { return Prop(button, kPropOldState) == 2; },
         [&] { return Prop(button, kPropOldState) == 0 && Prop(button, kPropTimerId) != 0; }},
        {"mouse move: passed on, then entered", [&] { setProp(button, kPropMouseFlag, 0); }, button,
         WM_MOUSEMOVE, [&] { return Prop(button, kPropMouseFlag) == 0; },
         [&] { return Prop(button, kPropMouseFlag) == 1; }},
        {"timer: the fade steps, then passed on",
         [&] {
             StopFadeTimer(button);
             setProp(button, kPropAlphaLevel, 30);
         },
         button, WM_TIMER, [&] { return Prop(button, kPropAlphaLevel) == 33; },
         [&] { return Prop(button, kPropAlphaLevel) == 33; }},
        {"focus: passed on, then the fade starts", [&] { StopFadeTimer(button); }, button,
         WM_SETFOCUS, [&] { return Prop(button, kPropTimerId) == 0; },
         [&] { return Prop(button, kPropTimerId) != 0; }},
        {"header press: the pressed item first, then passed on",
         [&] { setProp(header, kPropPressedIndex, -1); }, header, WM_LBUTTONDOWN,
         [&] { return Prop(header, kPropPressedIndex) == 0; },
         [&] { return Prop(header, kPropPressedIndex) == 0; }},
        {"header release: the pressed item cleared first, then passed on",
         [&] { setProp(header, kPropPressedIndex, 0); }, header, WM_LBUTTONUP,
         [&] { return Prop(header, kPropPressedIndex) == -1; },
         [&] { return Prop(header, kPropPressedIndex) == -1; }},
        {"idle dialog: passed on, then skinned", [&] { newcomer = Newcomer(); }, container,
         WM_ENTERIDLE, [&] { return !IsSkinned(newcomer); }, [&] { return IsSkinned(newcomer); }},
        {"list colours: passed on, then the list skinned", [&] { newcomer = Newcomer(); },
         container, WM_CTLCOLORLISTBOX, [&] { return !IsSkinned(newcomer); },
         [&] { return IsSkinned(newcomer); }},
        {"edit colours: passed on, then white whatever the procedure chose", nullptr, container,
         WM_CTLCOLOREDIT,
         [&] {
             SetBkColor(editDc, RGB(1, 2, 3));  // the previous procedure's choice
             return true;
         },
         [&] { return GetBkColor(editDc) == RGB(255, 255, 255); }},
        {"combo moved: passed on, then repainted normal",
         [&] { setProp(combo, kPropOldState, 1); }, combo, WM_WINDOWPOSCHANGED,
         [&] { return Prop(combo, kPropOldState) == 1; },
         [&] { return Prop(combo, kPropOldState) == 0; }},
        {"check box down: passed on, then pressed", [&] { setProp(check, kPropOldState, 0); },
         check, WM_LBUTTONDOWN, [&] { return Prop(check, kPropOldState) == 0; },
         [&] { return Prop(check, kPropOldState) == kStatePressed; }},
        {"any release: passed on, then the check boxes and options beside it repainted",
         [&] { setProp(option, kPropOldState, 1); }, button, WM_LBUTTONUP,
         [&] { return Prop(option, kPropOldState) == 1; },
         [&] { return Prop(option, kPropOldState) == 0; }},
    };

    for (const Side& side : sides) {
        SCOPED_TRACE(side.name);
        if (side.arrange) {
            side.arrange();
        }
        bool heldAtPassOn = false;
        probe = {side.window, side.message, 0, [&] { heldAtPassOn = side.atPassOn(); }};
        const LRESULT result = [&] {
            switch (side.message) {
                case WM_ENTERIDLE:
                    return SendMessageA(side.window, side.message, MSGF_DIALOGBOX,
                                        reinterpret_cast<LPARAM>(newcomer));
                case WM_CTLCOLORLISTBOX:
                    return SendMessageA(side.window, side.message,
                                        reinterpret_cast<WPARAM>(editDc),
                                        reinterpret_cast<LPARAM>(newcomer));
                case WM_CTLCOLOREDIT:
                    return SendMessageA(side.window, side.message,
                                        reinterpret_cast<WPARAM>(editDc),
                                        reinterpret_cast<LPARAM>(edit));
                case WM_LBUTTONDOWN:
                case WM_LBUTTONUP:
                    return SendMessageA(side.window, side.message,
                                        side.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                                        MAKELPARAM(5, 5));
                default:
                    return SendRouted(side.window, side.message);
            }
        }();
        EXPECT_EQ(probe.arrivals, 1);
        EXPECT_TRUE(heldAtPassOn);
        EXPECT_TRUE(side.after());
        EXPECT_EQ(result, ResultMark(side.message));
        probe = {};
        if (newcomer != nullptr) {
            DestroyWindow(newcomer);
            newcomer = nullptr;
        }
        ReleaseCapture();
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        Pump();
    }
    ReleaseDC(edit, editDc);
}

TEST_F(RoutingContract, ActivationSkinsAnOwnedWindowBeforeThePreviousProcedureSeesIt) {
    FormWindow owner(300, 200, true);
    PutRecorderUnder(owner.get());
    ApplySkin(owner.get());
    HWND owned = CreateWindowExA(0, "#32770", "owned", WS_POPUP, 0, 0, 50, 50, owner.get(),
                                 nullptr, nullptr, nullptr);
    bool skinnedFirst = false;
    probe = {owner.get(), WM_ACTIVATE, 0, [&] { skinnedFirst = IsSkinned(owned); }};

    const LRESULT result = SendMessageA(owner.get(), WM_ACTIVATE, WA_INACTIVE,
                                        reinterpret_cast<LPARAM>(owned));

    EXPECT_EQ(probe.arrivals, 1);
    EXPECT_TRUE(skinnedFirst);
    EXPECT_EQ(result, ResultMark(WM_ACTIVATE));
    probe = {};
    DestroyWindow(owned);
    RemoveSkin(owner.get());
}

}  // namespace
}  // namespace quenlo::skin
