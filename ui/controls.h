#pragma once

// The controls of the main window that the logic reaches, one list per kind. A row's first
// entry is the control's layout name: it becomes the enumerator, so a mistyped name does not
// compile, and the name string, which the Qt side gives the widget as its objectName. The menu's
// rows also say where the item goes, what it is and what it shows; the window builds its menu
// from them, and how many controls of a kind there are follows from the list.
//
// A new menu command is one row here, plus its handler and the handler's line in the controller's
// MenuCommands.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace brzdomat {

// Where a menu item goes: into one of the menu bar's menus, or onto the bar itself after them.
enum class MenuPlace { Program, Tests, Help, Bar };
// A command runs its handler; the one submenu holds the items of the tests 1 to 32; a check item
// runs its handler, which says whether it is ticked; a separator only divides the menu.
enum class MenuKind { Command, Submenu, Check, Separator };
// What a test run does to the item: the start commands are disabled while it runs and the early
// end only then enabled; the others stay as they are. The items about the last run are disabled
// while a test runs and, when idle, enabled only when the last run gives them something to do.
// The early end and the items about the last run start disabled.
enum class TestRunRole { None, Start, End, LastRun };

// clang-format off
#define BRZDOMAT_LABELS(Row) \
    Row(Label2)  /* test number */ \
    Row(Label4)  /* question number */ \
    Row(Label6)  /* error points */ \
    Row(Label8)  /* achieved points */ \
    Row(Label10) /* verdict */ \
    Row(Label17) /* elapsed minutes */

#define BRZDOMAT_CHECK_BOXES(Row) \
    Row(CheckBox1) /* "správně" A, ticked only by the program */ \
    Row(CheckBox2) /* "správně" B */ \
    Row(CheckBox3) /* "správně" C */ \
    Row(CheckBox4) /* "správně" D */ \
    Row(CheckBox5) /* "výběr" A, the user's answer */ \
    Row(CheckBox6) /* "výběr" B */ \
    Row(CheckBox7) /* "výběr" C */ \
    Row(CheckBox8) /* "výběr" D */

// In the order the menus show them.
#define BRZDOMAT_MENU_ITEMS(Row) \
    Row(Zavt1,                 Program, Command,   None,    "&Zavřít") \
    Row(Vybratsitest1,         Tests,   Submenu,   Start,   "&Vybrat si test") \
    Row(Nhodnceltest1,         Tests,   Command,   Start,   "Náhodný &celý test") \
    Row(Nhodnvbrotzek251,      Tests,   Command,   Start,   "Náhodný výběr &otázek (25)") \
    Row(plnnhodnvbrotzek1,     Tests,   Command,   Start,   "Úp&lně náhodný výběr otázek") \
    Row(Ukonittest1,           Tests,   Command,   End,     "&Ukončit testování") \
    Row(N1,                    Tests,   Separator, None,    "-") \
    Row(Pehledposlednhotestu1, Tests,   Command,   LastRun, "&Přehled posledního testu") \
    Row(Procviitchybnotzky1,   Tests,   Command,   LastRun, "P&rocvičit chybné otázky") \
    Row(Prodlouenas60minut1,   Tests,   Check,     Start,   "Prodloužený čas (60 &minut)") \
    Row(Oprogramu1,            Help,    Command,   None,    "&O programu") \
    Row(About1,                Bar,     Command,   None,    "&About ..")

#define BRZDOMAT_PUSH_BUTTONS(Row) \
    Row(Button1) /* "Potvrď" */

#define BRZDOMAT_PICTURES(Row) \
    Row(Image1) /* the question's picture */

#define BRZDOMAT_TIMERS(Row) \
    Row(Timer1) /* the test's one-minute clock */

#define BRZDOMAT_WINDOWS(Row) \
    Row(TForm1) /* the main window */ \
    Row(TForm2) /* the splash */ \
    Row(TForm3) /* About */ \
    Row(TForm5) /* program information */
// clang-format on

#define BRZDOMAT_ENUMERATOR(Name, ...) Name,
#define BRZDOMAT_NAME(Name, ...) #Name,

enum class Label { BRZDOMAT_LABELS(BRZDOMAT_ENUMERATOR) };
enum class CheckBox { BRZDOMAT_CHECK_BOXES(BRZDOMAT_ENUMERATOR) };
enum class MenuItem { BRZDOMAT_MENU_ITEMS(BRZDOMAT_ENUMERATOR) };
enum class PushButton { BRZDOMAT_PUSH_BUTTONS(BRZDOMAT_ENUMERATOR) };
enum class Picture { BRZDOMAT_PICTURES(BRZDOMAT_ENUMERATOR) };
enum class Timer { BRZDOMAT_TIMERS(BRZDOMAT_ENUMERATOR) };
enum class Window { BRZDOMAT_WINDOWS(BRZDOMAT_ENUMERATOR) };

inline constexpr std::string_view LabelNames[] { BRZDOMAT_LABELS(BRZDOMAT_NAME) };
inline constexpr std::string_view CheckBoxNames[] { BRZDOMAT_CHECK_BOXES(BRZDOMAT_NAME) };
inline constexpr std::string_view MenuItemNames[] { BRZDOMAT_MENU_ITEMS(BRZDOMAT_NAME) };
inline constexpr std::string_view PushButtonNames[] { BRZDOMAT_PUSH_BUTTONS(BRZDOMAT_NAME) };
inline constexpr std::string_view PictureNames[] { BRZDOMAT_PICTURES(BRZDOMAT_NAME) };
inline constexpr std::string_view TimerNames[] { BRZDOMAT_TIMERS(BRZDOMAT_NAME) };
inline constexpr std::string_view WindowNames[] { BRZDOMAT_WINDOWS(BRZDOMAT_NAME) };

struct MenuItemRow {
    MenuItem Item;
    MenuPlace Place;
    MenuKind Kind;
    TestRunRole Role;
    // UTF-8, with & before the accelerator letter.
    std::string_view Caption;
};

#define BRZDOMAT_MENU_ROW(Name, Place, Kind, Role, Caption)                                        \
    { MenuItem::Name, MenuPlace::Place, MenuKind::Kind, TestRunRole::Role, Caption },
inline constexpr MenuItemRow MenuItemRows[] { BRZDOMAT_MENU_ITEMS(BRZDOMAT_MENU_ROW) };
#undef BRZDOMAT_MENU_ROW

// The menus of the menu bar, in the order of their places.
struct MenuBarMenu {
    MenuPlace Place;
    std::string_view Name;
    std::string_view Caption;
};
inline constexpr MenuBarMenu MenuBarMenus[] {
    { MenuPlace::Program, "Soubor1", "&Program" },
    { MenuPlace::Tests, "esty1", "&Testy" },
    { MenuPlace::Help, "Npovda1", "&Nápověda" },
};

#undef BRZDOMAT_ENUMERATOR
#undef BRZDOMAT_NAME

// The layout names of a kind, indexed by the enumerator.
using NameList = std::span<const std::string_view>;
template <typename Control> inline constexpr NameList ControlNames {};
template <> inline constexpr NameList ControlNames<Label> { LabelNames };
template <> inline constexpr NameList ControlNames<CheckBox> { CheckBoxNames };
template <> inline constexpr NameList ControlNames<MenuItem> { MenuItemNames };
template <> inline constexpr NameList ControlNames<PushButton> { PushButtonNames };
template <> inline constexpr NameList ControlNames<Picture> { PictureNames };
template <> inline constexpr NameList ControlNames<Timer> { TimerNames };
template <> inline constexpr NameList ControlNames<Window> { WindowNames };

template <typename Control>
inline constexpr std::size_t ControlCount = ControlNames<Control>.size();

// Every control of a kind, in the order of its list.
template <typename Control> constexpr std::array<Control, ControlCount<Control>> AllControls()
{
    std::array<Control, ControlCount<Control>> all {};
    for (std::size_t index = 0; index < all.size(); ++index)
        all[index] = static_cast<Control>(index);
    return all;
}

// Whether the window shows the item enabled before any test run.
constexpr bool EnabledAtStart(const MenuItemRow& row)
{
    return row.Role != TestRunRole::End && row.Role != TestRunRole::LastRun;
}

// The window may put each bar menu at the index of its place.
static_assert([] {
    for (std::size_t index = 0; index < std::size(MenuBarMenus); ++index) {
        if (static_cast<std::size_t>(MenuBarMenus[index].Place) != index)
            return false;
    }
    return std::size(MenuBarMenus) == static_cast<std::size_t>(MenuPlace::Bar);
}());
// Only a command may stand on the bar itself; a submenu, a check item or a separator goes into a
// menu of it.
static_assert([] {
    for (const auto& row : MenuItemRows) {
        if (row.Kind != MenuKind::Command && row.Place == MenuPlace::Bar)
            return false;
    }
    return true;
}());

} // namespace brzdomat
