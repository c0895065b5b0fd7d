#include "serverconf/NginxBlocks.h"

#include "serverconf/ConfigFailure.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

enum class TokenKind { kWord, kEnd, kOpen, kClose };

struct Token {
    TokenKind kind = TokenKind::kWord;
    std::string text;
    int line = 0;
};

class NginxTokenizer {
  public:
    NginxTokenizer(const std::string& file, const std::string& text) : m_file(file), m_text(text) {}

    // The next token; false at the end of the text.
    bool Next(Token* token) {
        SkipBlanksAndComments();
        if (m_at >= m_text.size()) return false;
        token->line = m_line;
        const char c = m_text[m_at];
        if (c == ';' || c == '{' || c == '}') {
            ++m_at;
            token->kind = c == ';'   ? TokenKind::kEnd
                          : c == '{' ? TokenKind::kOpen
                                     : TokenKind::kClose;
            token->text = std::string(1, c);
            return true;
        }
        token->kind = TokenKind::kWord;
        token->text = c == '"' || c == '\'' ? Quoted() : Bare();
        return true;
    }

  private:
    void SkipBlanksAndComments() {
        while (m_at < m_text.size()) {
            if (m_text[m_at] == '#') {
                while (m_at < m_text.size() && m_text[m_at] != '\n') ++m_at;
            } else if (IsBlank(m_text[m_at])) {
                if (m_text[m_at] == '\n') ++m_line;
                ++m_at;
            } else {
                return;
            }
        }
    }

    std::string Quoted() {
        const char quote = m_text[m_at];
        const int start = m_line;
        std::string word;
        ++m_at;
        while (m_at < m_text.size() && m_text[m_at] != quote) {
            char c = m_text[m_at];
            if (c == '\n') ++m_line;
            if (c == '\\' && m_at + 1 < m_text.size()) {
                const char next = m_text[m_at + 1];
                if (next == '"' || next == '\'' || next == '\\') c = next, ++m_at;
                if (next == 'n') c = '\n', ++m_at;
                if (next == 't') c = '\t', ++m_at;
                if (next == 'r') c = '\r', ++m_at;
            }
            word += c;
            ++m_at;
        }
        if (m_at >= m_text.size()) throw ConfigFailure({m_file, start}, "a quote is not closed");
        ++m_at;
        return word;
    }

    // A bare word ends at a blank, ';', '{' or '}'; "${name}" is part of it.
    std::string Bare() {
        std::string word;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (IsBlank(c) || c == ';' || c == '}') break;
            if (c == '{' && (word.empty() || word.back() != '$')) break;
            if (c == '{') {
                const std::string::size_type close = m_text.find('}', m_at);
                if (close == std::string::npos) break;
                word += m_text.substr(m_at, close + 1 - m_at);
                m_at = close + 1;
                continue;
            }
            word += c;
            ++m_at;
        }
        return word;
    }

    const std::string& m_file;
    const std::string& m_text;
    std::string::size_type m_at = 0;
    int m_line = 1;
};

// Blocks nest at most this deep; real configurations stay far below it.
constexpr int kMaxBlockDepth = 64;

// Reads directives up to the '}' that closes the block opened at
// `openLine`, or to the end of the text when `openLine` is 0.
std::vector<NginxDirective> ReadBlock(NginxTokenizer* tokens, const std::string& file, int openLine,
                                      int depth) {
    std::vector<NginxDirective> directives;
    NginxDirective current;
    Token token;
    while (tokens->Next(&token)) {
        if (token.kind == TokenKind::kWord) {
            if (current.name.empty()) {
                current.name = token.text;
                current.place = {file, token.line};
            } else {
                current.args.push_back(token.text);
            }
            continue;
        }
        if (token.kind == TokenKind::kClose) {
            if (!current.name.empty()) {
                throw ConfigFailure(current.place, current.name + " has no ';' before '}'");
            }
            if (openLine == 0) throw ConfigFailure({file, token.line}, "'}' closes no block");
            return directives;
        }
        if (current.name.empty()) {
            throw ConfigFailure({file, token.line}, "'" + token.text + "' without a directive");
        }
        if (token.kind == TokenKind::kOpen) {
            if (depth >= kMaxBlockDepth) {
                throw ConfigFailure({file, token.line}, "blocks nest too deep");
            }
            current.hasBlock = true;
            current.block = ReadBlock(tokens, file, token.line, depth + 1);
        }
        directives.push_back(std::move(current));
        current = NginxDirective{};
    }
    if (!current.name.empty()) throw ConfigFailure(current.place, current.name + " has no ';'");
    if (openLine != 0) throw ConfigFailure({file, openLine}, "the block opened here is not closed");
    return directives;
}

}  // namespace

std::vector<NginxDirective> ReadNginxBlocks(const std::string& file, const std::string& text) {
    NginxTokenizer tokens(file, text);
    return ReadBlock(&tokens, file, 0, 0);
}
