#include "ui/control_names.h"

#include <span>

namespace brzdomat {

namespace {

template <typename Enum>
std::string_view Lookup(std::span<const std::string_view> names, Enum value)
{
    auto index = static_cast<std::size_t>(value);
    return index < names.size() ? names[index] : std::string_view { "?" };
}

} // namespace

std::string_view ControlName(Label label)
{
    return Lookup(ControlNames<Label>, label);
}

std::string_view ControlName(CheckBox box)
{
    return Lookup(ControlNames<CheckBox>, box);
}

std::string_view ControlName(MenuItem item)
{
    return Lookup(ControlNames<MenuItem>, item);
}

std::string_view ControlName(PushButton button)
{
    return Lookup(ControlNames<PushButton>, button);
}

std::string_view ControlName(Picture picture)
{
    return Lookup(ControlNames<Picture>, picture);
}

std::string_view ControlName(Timer timer)
{
    return Lookup(ControlNames<Timer>, timer);
}

std::string_view ControlName(Window window)
{
    return Lookup(ControlNames<Window>, window);
}

std::string_view KindName(MessageKind kind)
{
    static constexpr std::string_view names[] { "Error", "Information", "Confirm" };
    return Lookup(names, kind);
}

std::string_view ButtonSetName(ButtonSet set)
{
    static constexpr std::string_view names[] { "Ok", "YesNo" };
    return Lookup(names, set);
}

} // namespace brzdomat
