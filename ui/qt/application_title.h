#pragma once

#include <string>
#include <string_view>

namespace brzdomat {

// The name the program goes by in the default error box: the executable's file name without its
// folder and without everything from its first full stop on, every character after the first
// turned to lower case. The first character stays as it is, so "PROGRAM.EXE" is "Program" and
// "brzdomat" stays "brzdomat". Takes and gives UTF-8.
std::string ApplicationTitle(std::string_view executablePath);

} // namespace brzdomat
