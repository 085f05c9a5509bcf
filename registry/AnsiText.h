// Conversion between the program's UTF-16 text and the 8-bit text of the
// system's ANSI code page, which is what the registry's "A" calls take.
#pragma once

#include <string>
#include <string_view>

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
