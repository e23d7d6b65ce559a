#include "ui/control_names.h"

#include <array>

namespace brzdomat {

namespace {

template <typename Enum, std::size_t Count>
std::string_view Lookup(const std::array<std::string_view, Count>& names, Enum value)
{
    auto index = static_cast<std::size_t>(value);
    return index < Count ? names[index] : std::string_view { "?" };
}

} // namespace

std::string_view ControlName(Label label)
{
    static constexpr std::array<std::string_view, 6> names { "Label2", "Label4", "Label6", "Label8",
        "Label10", "Label17" };
    return Lookup(names, label);
}

std::string_view ControlName(CheckBox box)
{
    static constexpr std::array<std::string_view, 8> names { "CheckBox1", "CheckBox2", "CheckBox3",
        "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8" };
    return Lookup(names, box);
}

std::string_view ControlName(MenuItem item)
{
    static constexpr std::array<std::string_view, 5> names { "Vybratsitest1", "Nhodnceltest1",
        "Nhodnvbrotzek251", "plnnhodnvbrotzek1", "Ukonittest1" };
    return Lookup(names, item);
}

std::string_view ControlName(PushButton)
{
    return "Button1";
}
std::string_view ControlName(Picture)
{
    return "Image1";
}
std::string_view ControlName(Timer)
{
    return "Timer1";
}

std::string_view ControlName(Window window)
{
    static constexpr std::array<std::string_view, 4> names { "TForm1", "TForm2", "TForm3",
        "TForm5" };
    return Lookup(names, window);
}

std::string_view KindName(MessageKind kind)
{
    static constexpr std::array<std::string_view, 3> names { "Error", "Information", "Confirm" };
    return Lookup(names, kind);
}

std::string_view ButtonSetName(ButtonSet set)
{
    static constexpr std::array<std::string_view, 2> names { "Ok", "YesNo" };
    return Lookup(names, set);
}

} // namespace brzdomat
