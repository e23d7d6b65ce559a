#pragma once

// The layout name of every control the logic reaches, as its list in ui/controls.h has it. The Qt
// windows give each widget this name as its objectName, and the recording surface logs by it.

#include "ui/ui_surface.h"

#include <string_view>

namespace brzdomat {

std::string_view ControlName(Label);
std::string_view ControlName(CheckBox);
std::string_view ControlName(MenuItem);
std::string_view ControlName(PushButton);
std::string_view ControlName(Picture);
std::string_view ControlName(Timer);
std::string_view ControlName(Window);
std::string_view KindName(MessageKind);
std::string_view ButtonSetName(ButtonSet);

} // namespace brzdomat
