#include "tests/package_resource_script.h"

#include <cctype>
#include <stdexcept>

namespace brzdomat {
namespace {

enum class TokenKind { Word, Number, String, Comma, Begin, End, Finished };

struct Token {
    TokenKind Kind { TokenKind::Finished };
    std::string Text;
    int Line { 0 };
};

// Carries the line of the fault up to ParseResourceScript, which turns it into the error text.
struct ScriptFault : std::runtime_error {
    ScriptFault(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what)
    {
    }
};

bool IsWordStart(char character)
{
    return std::isalpha(static_cast<unsigned char>(character)) || character == '_';
}

bool IsWordPart(char character)
{
    return std::isalnum(static_cast<unsigned char>(character)) || character == '_';
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text)
        : Text(text)
    {
    }

    Token Next()
    {
        SkipBlanksAndComments();
        Token token;
        token.Line = Line;
        if (Position >= Text.size())
            return token;
        char character = Text[Position];
        if (character == '#')
            throw ScriptFault(Line, "preprocessor lines are not read");
        if (character == ',') {
            ++Position;
            token.Kind = TokenKind::Comma;
        } else if (character == '{') {
            ++Position;
            token.Kind = TokenKind::Begin;
        } else if (character == '}') {
            ++Position;
            token.Kind = TokenKind::End;
        } else if (character == '"') {
            token.Kind = TokenKind::String;
            token.Text = ReadString();
        } else if (std::isdigit(static_cast<unsigned char>(character))) {
            token.Kind = TokenKind::Number;
            while (Position < Text.size() && IsWordPart(Text[Position]))
                token.Text += Text[Position++];
            if (!RcNumberValue(token.Text))
                throw ScriptFault(Line, "'" + token.Text + "' is not a number");
        } else if (IsWordStart(character)) {
            while (Position < Text.size() && IsWordPart(Text[Position]))
                token.Text += Text[Position++];
            token.Kind = token.Text == "BEGIN" ? TokenKind::Begin
                : token.Text == "END"          ? TokenKind::End
                                               : TokenKind::Word;
        } else {
            throw ScriptFault(Line, std::string("unexpected character '") + character + "'");
        }
        return token;
    }

private:
    void SkipBlanksAndComments()
    {
        while (Position < Text.size()) {
            char character = Text[Position];
            if (character == '\n') {
                ++Line;
                ++Position;
            } else if (std::isspace(static_cast<unsigned char>(character))) {
                ++Position;
            } else if (Text.substr(Position, 2) == "//") {
                while (Position < Text.size() && Text[Position] != '\n')
                    ++Position;
            } else if (Text.substr(Position, 2) == "/*") {
                int startLine = Line;
                Position += 2;
                while (Position < Text.size() && Text.substr(Position, 2) != "*/") {
                    if (Text[Position] == '\n')
                        ++Line;
                    ++Position;
                }
                if (Position >= Text.size())
                    throw ScriptFault(startLine, "comment not closed");
                Position += 2;
            } else {
                return;
            }
        }
    }

    std::string ReadString()
    {
        int startLine = Line;
        ++Position;
        std::string text;
        while (true) {
            if (Position >= Text.size() || Text[Position] == '\n')
                throw ScriptFault(startLine, "string not closed on its line");
            char character = Text[Position++];
            if (character == '"') {
                // A doubled quote stands for one quote inside the string.
                if (Position < Text.size() && Text[Position] == '"') {
                    text += '"';
                    ++Position;
                    continue;
                }
                return text;
            }
            if (character == '\\') {
                if (Position >= Text.size())
                    throw ScriptFault(startLine, "string not closed on its line");
                char escaped = Text[Position++];
                switch (escaped) {
                case 'n':
                    text += '\n';
                    break;
                case 't':
                    text += '\t';
                    break;
                case '0':
                    text += '\0';
                    break;
                case '\\':
                case '"':
                    text += escaped;
                    break;
                default:
                    throw ScriptFault(Line, std::string("unknown escape '\\") + escaped + "'");
                }
                continue;
            }
            text += character;
        }
    }

    std::string_view Text;
    std::size_t Position { 0 };
    int Line { 1 };
};

bool IsFixedFieldName(std::string_view word)
{
    return word == "FILEVERSION" || word == "PRODUCTVERSION" || word == "FILEFLAGSMASK"
        || word == "FILEFLAGS" || word == "FILEOS" || word == "FILETYPE" || word == "FILESUBTYPE";
}

class Parser {
public:
    explicit Parser(std::string_view text)
        : Tokens(text)
    {
        Advance();
    }

    ResourceScript ParseScript()
    {
        ResourceScript script;
        while (Current.Kind != TokenKind::Finished) {
            if (Current.Kind == TokenKind::Word && Current.Text == "LANGUAGE") {
                Advance();
                RcLanguage language;
                language.Primary = Expect(TokenKind::Number, "a language number").Text;
                Expect(TokenKind::Comma, "',' between the language numbers");
                language.Secondary = Expect(TokenKind::Number, "a sublanguage number").Text;
                script.Languages.push_back(language);
                continue;
            }
            if (Current.Kind != TokenKind::Word && Current.Kind != TokenKind::Number)
                throw ScriptFault(Current.Line, "expected a resource name");
            std::string id = Current.Text;
            Advance();
            Token type = Expect(TokenKind::Word, "a resource type after '" + id + "'");
            if (type.Text == "ICON") {
                script.Icons.push_back({ id, Expect(TokenKind::String, "an icon file").Text });
            } else if (type.Text == "VERSIONINFO") {
                script.VersionInfos.push_back(ParseVersionInfo(id));
            } else {
                throw ScriptFault(type.Line, "resources of type " + type.Text + " are not read");
            }
        }
        return script;
    }

private:
    void Advance() { Current = Tokens.Next(); }

    Token Expect(TokenKind kind, const std::string& what)
    {
        if (Current.Kind != kind)
            throw ScriptFault(Current.Line, "expected " + what);
        Token token = Current;
        Advance();
        return token;
    }

    RcVersionInfo ParseVersionInfo(const std::string& id)
    {
        RcVersionInfo info;
        info.Id = id;
        while (Current.Kind == TokenKind::Word) {
            if (!IsFixedFieldName(Current.Text))
                throw ScriptFault(Current.Line, "unknown version statement " + Current.Text);
            RcFixedField field;
            field.Name = Current.Text;
            field.Line = Current.Line;
            Advance();
            field.Numbers.push_back(Expect(TokenKind::Number, "a number").Text);
            while (Current.Kind == TokenKind::Comma) {
                Advance();
                field.Numbers.push_back(Expect(TokenKind::Number, "a number after ','").Text);
            }
            info.FixedFields.push_back(field);
        }
        info.Body = ParseBlockBody("", Current.Line);
        return info;
    }

    RcBlock ParseBlockBody(const std::string& name, int line)
    {
        RcBlock block;
        block.Name = name;
        block.Line = line;
        Expect(TokenKind::Begin, "BEGIN");
        while (Current.Kind != TokenKind::End) {
            if (Current.Kind == TokenKind::Finished)
                throw ScriptFault(Current.Line, "BEGIN without END");
            Token keyword = Expect(TokenKind::Word, "BLOCK, VALUE or END");
            if (keyword.Text == "BLOCK") {
                std::string blockName = Expect(TokenKind::String, "a block name").Text;
                block.Blocks.push_back(ParseBlockBody(blockName, keyword.Line));
            } else if (keyword.Text == "VALUE") {
                RcValue value;
                value.Line = keyword.Line;
                value.Name = Expect(TokenKind::String, "a value name").Text;
                while (Current.Kind == TokenKind::Comma) {
                    Advance();
                    if (Current.Kind == TokenKind::String)
                        value.Items.push_back({ RcItem::Kind::String, Current.Text });
                    else if (Current.Kind == TokenKind::Number)
                        value.Items.push_back({ RcItem::Kind::Number, Current.Text });
                    else
                        throw ScriptFault(Current.Line, "expected a string or a number after ','");
                    Advance();
                }
                block.Values.push_back(value);
            } else {
                throw ScriptFault(
                    keyword.Line, "expected BLOCK, VALUE or END, not " + keyword.Text);
            }
        }
        Advance();
        return block;
    }

    Tokenizer Tokens;
    Token Current;
};

} // namespace

std::optional<std::uint32_t> RcNumberValue(std::string_view token)
{
    if (!token.empty() && (token.back() == 'L' || token.back() == 'l'))
        token.remove_suffix(1);
    int base = 10;
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        base = 16;
        token.remove_prefix(2);
    }
    if (token.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char character : token) {
        int digit;
        if (character >= '0' && character <= '9')
            digit = character - '0';
        else if (base == 16 && character >= 'a' && character <= 'f')
            digit = character - 'a' + 10;
        else if (base == 16 && character >= 'A' && character <= 'F')
            digit = character - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

RcParseResult ParseResourceScript(std::string_view text)
{
    RcParseResult result;
    try {
        result.Script = Parser(text).ParseScript();
    } catch (const ScriptFault& fault) {
        result.Error = fault.what();
    }
    return result;
}

} // namespace brzdomat
