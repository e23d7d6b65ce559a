#include "tests/package_resource_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace brzdomat {
namespace {

const std::filesystem::path WindowsFolder
    = std::filesystem::path(BRZDOMAT_PACKAGING_DIR) / "windows";

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

std::string CommittedScript()
{
    return ReadWholeFile(WindowsFolder / "brzdomat.rc");
}

struct ExpectedText {
    std::string_view Name;
    std::string_view Text;
};

// The texts of the executable's version information, and nothing besides them.
constexpr ExpectedText ExpectedTexts[] = {
    { "CompanyName", "Tervolan" },
    { "ProductName", "Brzdomat" },
    { "FileVersion", "1.0.0.0" },
    { "ProductVersion", "1.0.0.0" },
    { "FileDescription", "" },
    { "InternalName", "" },
    { "OriginalFilename", "" },
    { "Comments", "" },
};

std::vector<std::uint32_t> Numbers(const std::vector<std::string>& tokens)
{
    std::vector<std::uint32_t> numbers;
    for (const std::string& token : tokens)
        numbers.push_back(RcNumberValue(token).value_or(0xFFFFFFFFu));
    return numbers;
}

void CheckFixedField(const RcVersionInfo& info, std::string_view name,
    const std::vector<std::uint32_t>& expected, std::vector<std::string>& problems)
{
    auto count = std::count_if(info.FixedFields.begin(), info.FixedFields.end(),
        [&](const RcFixedField& field) { return field.Name == name; });
    if (count != 1) {
        problems.push_back(std::string(name) + " appears " + std::to_string(count) + " times");
        return;
    }
    auto field = std::find_if(info.FixedFields.begin(), info.FixedFields.end(),
        [&](const RcFixedField& field) { return field.Name == name; });
    if (Numbers(field->Numbers) != expected)
        problems.push_back(std::string(name) + " has the wrong numbers");
}

const RcBlock* OnlyBlockNamed(
    const RcBlock& parent, std::string_view name, std::vector<std::string>& problems)
{
    const RcBlock* found = nullptr;
    int count = 0;
    for (const RcBlock& block : parent.Blocks) {
        if (block.Name == name) {
            found = &block;
            ++count;
        }
    }
    if (count != 1) {
        problems.push_back(
            "block \"" + std::string(name) + "\" appears " + std::to_string(count) + " times");
        return nullptr;
    }
    return found;
}

void CheckTexts(const RcBlock& texts, std::vector<std::string>& problems)
{
    for (const ExpectedText& expected : ExpectedTexts) {
        auto count = std::count_if(texts.Values.begin(), texts.Values.end(),
            [&](const RcValue& value) { return value.Name == expected.Name; });
        if (count != 1) {
            problems.push_back(
                std::string(expected.Name) + " appears " + std::to_string(count) + " times");
            continue;
        }
        const RcValue& value = *std::find_if(texts.Values.begin(), texts.Values.end(),
            [&](const RcValue& value) { return value.Name == expected.Name; });
        if (value.Items.size() != 1 || value.Items[0].Type != RcItem::Kind::String
            || value.Items[0].Text != expected.Text)
            problems.push_back(
                std::string(expected.Name) + " is not \"" + std::string(expected.Text) + "\"");
    }
    for (const RcValue& value : texts.Values) {
        bool known = std::any_of(std::begin(ExpectedTexts), std::end(ExpectedTexts),
            [&](const ExpectedText& expected) { return expected.Name == value.Name; });
        if (!known)
            problems.push_back("unexpected text " + value.Name);
    }
    if (!texts.Blocks.empty())
        problems.push_back("unexpected block inside the text block");
}

void CheckTranslation(const RcBlock& variables, std::vector<std::string>& problems)
{
    if (variables.Values.size() != 1 || variables.Values[0].Name != "Translation") {
        problems.push_back("VarFileInfo must hold only Translation");
        return;
    }
    const RcValue& translation = variables.Values[0];
    std::vector<std::uint32_t> numbers;
    for (const RcItem& item : translation.Items) {
        if (item.Type != RcItem::Kind::Number) {
            problems.push_back("Translation holds a text, not numbers");
            return;
        }
        numbers.push_back(RcNumberValue(item.Text).value_or(0));
    }
    if (numbers != std::vector<std::uint32_t> { 0x0405, 1250 })
        problems.push_back("Translation is not Czech (0x0405) with code page 1250");
}

std::vector<std::string> VersionProblems(const ResourceScript& script)
{
    std::vector<std::string> problems;
    if (script.Languages.size() != 1
        || Numbers({ script.Languages[0].Primary, script.Languages[0].Secondary })
            != std::vector<std::uint32_t> { 0x05, 0x01 })
        problems.push_back("LANGUAGE is not Czech");
    if (script.VersionInfos.size() != 1) {
        problems.push_back(
            "expected one VERSIONINFO, found " + std::to_string(script.VersionInfos.size()));
        return problems;
    }
    const RcVersionInfo& info = script.VersionInfos[0];
    if (info.Id != "1")
        problems.push_back("VERSIONINFO is not resource 1");
    CheckFixedField(info, "FILEVERSION", { 1, 0, 0, 0 }, problems);
    CheckFixedField(info, "PRODUCTVERSION", { 1, 0, 0, 0 }, problems);
    // Windows shows the version tab of an application only for the application file type.
    CheckFixedField(info, "FILETYPE", { 1 }, problems);
    if (info.Body.Blocks.size() != 2 || !info.Body.Values.empty())
        problems.push_back("the version body must hold StringFileInfo and VarFileInfo only");
    if (const RcBlock* strings = OnlyBlockNamed(info.Body, "StringFileInfo", problems)) {
        if (strings->Blocks.size() != 1 || !strings->Values.empty())
            problems.push_back("StringFileInfo must hold one text block, 040504E2");
        if (const RcBlock* texts = OnlyBlockNamed(*strings, "040504E2", problems))
            CheckTexts(*texts, problems);
    }
    if (const RcBlock* variables = OnlyBlockNamed(info.Body, "VarFileInfo", problems))
        CheckTranslation(*variables, problems);
    return problems;
}

// The sizes held by a Windows icon file, read from its directory; empty if it is not one.
std::set<int> IconSizes(const std::string& bytes)
{
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    if (bytes.size() < 6 || byte(0) != 0 || byte(1) != 0 || byte(2) != 1 || byte(3) != 0)
        return {};
    std::size_t count = byte(4) | (byte(5) << 8);
    if (bytes.size() < 6 + 16 * count)
        return {};
    std::set<int> sizes;
    for (std::size_t entry = 0; entry < count; ++entry) {
        std::size_t at = 6 + 16 * entry;
        int width = byte(at) == 0 ? 256 : byte(at);
        int height = byte(at + 1) == 0 ? 256 : byte(at + 1);
        std::size_t length = byte(at + 8) | (byte(at + 9) << 8) | (byte(at + 10) << 16)
            | (static_cast<std::size_t>(byte(at + 11)) << 24);
        std::size_t offset = byte(at + 12) | (byte(at + 13) << 8) | (byte(at + 14) << 16)
            | (static_cast<std::size_t>(byte(at + 15)) << 24);
        if (width != height || offset + length > bytes.size())
            return {};
        sizes.insert(width);
    }
    return sizes;
}

std::vector<std::string> IconProblems(const ResourceScript& script)
{
    std::vector<std::string> problems;
    auto mainIcons = std::count_if(script.Icons.begin(), script.Icons.end(),
        [](const RcIcon& icon) { return icon.Id == "MAINICON"; });
    if (mainIcons != 1) {
        problems.push_back("MAINICON appears " + std::to_string(mainIcons) + " times");
        return problems;
    }
    const RcIcon& icon = *std::find_if(script.Icons.begin(), script.Icons.end(),
        [](const RcIcon& icon) { return icon.Id == "MAINICON"; });
    std::filesystem::path file = WindowsFolder / icon.File;
    if (!std::filesystem::is_regular_file(file)) {
        problems.push_back("icon file " + icon.File + " is missing");
        return problems;
    }
    std::set<int> sizes = IconSizes(ReadWholeFile(file));
    for (int size : { 16, 32, 48, 256 }) {
        if (!sizes.count(size))
            problems.push_back(
                "icon file " + icon.File + " lacks the size " + std::to_string(size));
    }
    return problems;
}

std::string Joined(const std::vector<std::string>& problems)
{
    std::ostringstream text;
    for (const std::string& problem : problems)
        text << problem << "\n";
    return text.str();
}

// Everything wrong with a script text: the reading error, or what the checks found.
std::string AllProblems(const std::string& text)
{
    RcParseResult result = ParseResourceScript(text);
    if (!result.Script)
        return result.Error;
    std::vector<std::string> problems = VersionProblems(*result.Script);
    for (std::string& problem : IconProblems(*result.Script))
        problems.push_back(std::move(problem));
    return Joined(problems);
}

TEST(ResourceScript, TheCommittedScriptHoldsEveryVersionFieldAndTheMainIcon)
{
    std::string text = CommittedScript();
    ASSERT_FALSE(text.empty()) << "cannot read " << (WindowsFolder / "brzdomat.rc");
    EXPECT_EQ(AllProblems(text), "");
}

struct Mutation {
    std::string_view Description;
    std::string_view From;
    std::string_view To;
    std::string_view ReportMentions;
};

// Each edit breaks one field; the checks must name it. The edits start from the committed script,
// so that the checks are shown to look at the lines that are really there.
constexpr Mutation Mutations[] = {
    { "company renamed", "\"Tervolan\"", "\"Tervolan s.r.o.\"", "CompanyName" },
    { "product renamed", "\"Brzdomat\"", "\"Brzdomat 2\"", "ProductName" },
    { "file version raised", "FILEVERSION 1,0,0,0", "FILEVERSION 1,0,0,1", "FILEVERSION" },
    { "product version cut short", "PRODUCTVERSION 1,0,0,0", "PRODUCTVERSION 1,0",
        "PRODUCTVERSION" },
    { "file version text shortened", "\"FileVersion\", \"1.0.0.0\"", "\"FileVersion\", \"1.0\"",
        "FileVersion" },
    { "product version text dropped", "VALUE \"ProductVersion\", \"1.0.0.0\"", "",
        "ProductVersion" },
    { "empty description dropped", "VALUE \"FileDescription\", \"\"", "", "FileDescription" },
    { "comment filled in", "\"Comments\", \"\"", "\"Comments\", \"Free Ware\"", "Comments" },
    { "internal name filled in", "\"InternalName\", \"\"", "\"InternalName\", \"brzdomat\"",
        "InternalName" },
    { "original file name filled in", "\"OriginalFilename\", \"\"",
        "\"OriginalFilename\", \"brzdomat.exe\"", "OriginalFilename" },
    { "company given twice", "VALUE \"CompanyName\", \"Tervolan\"",
        "VALUE \"CompanyName\", \"Tervolan\" VALUE \"CompanyName\", \"Tervolan\"", "CompanyName" },
    { "extra text added", "VALUE \"Comments\", \"\"",
        "VALUE \"Comments\", \"\" VALUE \"LegalCopyright\", \"Tervolan\"", "LegalCopyright" },
    { "English text block", "\"040504E2\"", "\"040904E4\"", "040504E2" },
    { "English translation", "0x0405, 1250", "0x0409, 1250", "Translation" },
    { "western code page", "0x0405, 1250", "0x0405, 1252", "Translation" },
    { "translation as texts", "0x0405, 1250", "\"0x0405\", \"1250\"", "Translation" },
    { "language statement English", "LANGUAGE 0x05, 0x01", "LANGUAGE 0x09, 0x01", "LANGUAGE" },
    { "not an application", "FILETYPE 0x1", "FILETYPE 0x2", "FILETYPE" },
    { "icon under another name", "MAINICON ICON", "APPICON ICON", "MAINICON" },
    { "icon file missing", "\"brzdomat.ico\"", "\"missing.ico\"", "missing.ico" },
    { "icon file not an icon", "\"brzdomat.ico\"", "\"brzdomat.rc\"", "lacks the size 16" },
    { "version body never closed", "    END\nEND\n", "    END\n", "BEGIN without END" },
    { "string not closed", "\"Tervolan\"", "\"Tervolan", "not closed" },
    { "header included", "LANGUAGE", "#include <windows.h>\nLANGUAGE", "preprocessor" },
};

TEST(ResourceScript, EveryBrokenFieldIsReported)
{
    const std::string committed = CommittedScript();
    for (const Mutation& mutation : Mutations) {
        SCOPED_TRACE(mutation.Description);
        std::size_t at = committed.find(mutation.From);
        ASSERT_NE(at, std::string::npos) << "the edit no longer applies";
        ASSERT_EQ(committed.find(mutation.From, at + 1), std::string::npos)
            << "the edit is ambiguous";
        std::string text = committed;
        text.replace(at, mutation.From.size(), mutation.To);
        std::string problems = AllProblems(text);
        EXPECT_NE(problems.find(mutation.ReportMentions), std::string::npos) << problems;
    }
}

TEST(ResourceScript, ReadsTheSyntaxResourceCompilersAccept)
{
    // Braces for BEGIN and END, comments anywhere, doubled quotes and a number suffix.
    RcParseResult result
        = ParseResourceScript("/* header\ncomment */ 7 VERSIONINFO\n"
                              "FILEFLAGSMASK 0x3fL // mask\n"
                              "{ BLOCK \"a\" { VALUE \"say\", \"\"\"hi\"\"\", 12 } }");
    ASSERT_TRUE(result.Script) << result.Error;
    const RcVersionInfo& info = result.Script->VersionInfos.at(0);
    EXPECT_EQ(info.Id, "7");
    ASSERT_EQ(info.FixedFields.size(), 1u);
    EXPECT_EQ(Numbers(info.FixedFields[0].Numbers), std::vector<std::uint32_t> { 0x3f });
    ASSERT_EQ(info.Body.Blocks.size(), 1u);
    const RcValue& value = info.Body.Blocks[0].Values.at(0);
    EXPECT_EQ(value.Line, 4);
    ASSERT_EQ(value.Items.size(), 2u);
    EXPECT_EQ(value.Items[0].Text, "\"hi\"");
    EXPECT_EQ(value.Items[1].Type, RcItem::Kind::Number);
}

TEST(ResourceScript, RefusesWhatItDoesNotRead)
{
    struct Case {
        std::string_view Text;
        std::string_view Error;
    };
    constexpr Case Cases[] = {
        { "1 DIALOG 0, 0, 10, 10\nBEGIN\nEND", "line 1: resources of type DIALOG are not read" },
        { "1 VERSIONINFO\nBEGIN\nVALUE \"x\", END\nEND", "line 3: expected a string or a number" },
        { "1 VERSIONINFO\nFILEVERSION 1,,0\nBEGIN END", "line 2: expected a number after ','" },
        { "1 VERSIONINFO\nFILEDATE 1\nBEGIN END", "line 2: unknown version statement FILEDATE" },
        { "1 VERSIONINFO BEGIN BLOCK \"a\" BEGIN", "BEGIN without END" },
        { "1 ICON \"a.ico\" 2 ICON", "line 1: expected an icon file" },
        { "1 VERSIONINFO FILEOS 0x100000000 BEGIN END", "'0x100000000' is not a number" },
        { "1 VERSIONINFO BEGIN VALUE \"a\\q\" END", "unknown escape" },
        { "/* never closed", "line 1: comment not closed" },
        { "1 ICON \"a.ico\" ; 2 ICON \"b.ico\"", "unexpected character ';'" },
    };
    for (const Case& item : Cases) {
        SCOPED_TRACE(item.Text);
        RcParseResult result = ParseResourceScript(item.Text);
        EXPECT_FALSE(result.Script);
        EXPECT_NE(result.Error.find(item.Error), std::string::npos) << result.Error;
    }
}

TEST(ResourceScript, ReadsNumbersAsResourceCompilersDo)
{
    struct Case {
        std::string_view Token;
        std::optional<std::uint32_t> Value;
    };
    constexpr Case Cases[] = {
        { "0x0405", 0x0405 },
        { "1250", 1250 },
        { "0x3FL", 0x3F },
        { "0XffffFFFF", 0xFFFFFFFF },
        { "4294967295", 4294967295u },
        { "4294967296", std::nullopt },
        { "12a", std::nullopt },
        { "0x", std::nullopt },
        { "L", std::nullopt },
    };
    for (const Case& item : Cases) {
        SCOPED_TRACE(item.Token);
        EXPECT_EQ(RcNumberValue(item.Token), item.Value);
    }
}

} // namespace
} // namespace brzdomat
