#pragma once

// Reads the part of a Windows resource script that Brzdomat's executable carries: the language
// statement, icon resources and version information. It does not read dialogs, menus, string
// tables or preprocessor lines; such text is an error rather than something skipped, so that a
// check built on the reader cannot pass on a script it did not understand.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brzdomat {

struct RcItem {
    enum class Kind { String, Number };
    Kind Type { Kind::String };
    // A string without its quotes and with its escapes resolved; a number as written.
    std::string Text;
};

struct RcValue {
    std::string Name;
    std::vector<RcItem> Items;
    int Line { 0 };
};

struct RcBlock {
    std::string Name;
    std::vector<RcValue> Values;
    std::vector<RcBlock> Blocks;
    int Line { 0 };
};

// One statement between the resource header and the body, such as FILEVERSION 1,0,0,0.
struct RcFixedField {
    std::string Name;
    std::vector<std::string> Numbers;
    int Line { 0 };
};

struct RcVersionInfo {
    std::string Id;
    std::vector<RcFixedField> FixedFields;
    RcBlock Body;
};

struct RcIcon {
    std::string Id;
    std::string File;
};

struct RcLanguage {
    std::string Primary;
    std::string Secondary;
};

struct ResourceScript {
    std::vector<RcLanguage> Languages;
    std::vector<RcIcon> Icons;
    std::vector<RcVersionInfo> VersionInfos;
};

struct RcParseResult {
    std::optional<ResourceScript> Script;
    // "line N: what is wrong" when the script could not be read.
    std::string Error;
};

RcParseResult ParseResourceScript(std::string_view text);

// The value of a number token: decimal, or hexadecimal after "0x", with an optional "L" suffix as
// resource compilers accept. Empty for anything else or for a value above 32 bits.
std::optional<std::uint32_t> RcNumberValue(std::string_view token);

} // namespace brzdomat
