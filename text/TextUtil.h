#pragma once
// Trimming, splitting, case folding and replacing in UTF-8 text.
#include <string>
#include <string_view>
#include <vector>

std::string Trim(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimLeft(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimRight(const std::string& text, const std::string& set = " \t\r\n");
void SplitTrimmed(const std::string& text, char separator, std::vector<std::string>& out);
void SplitTokens(const std::string& text, const std::string& delimiters, std::vector<std::string>& out);
// Case folding and comparing by the one rule of text/CaseFold.h.
std::string ToLower(const std::string& text);
int CompareNoCase(const std::string& a, const std::string& b);
// The blanks of criteria and typed values: space, tab, CR, LF, form feed, vertical tab.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
// A word of a grammar against its keyword ("and" is AND), case-insensitively.
bool EqualsKeyword(std::string_view word, std::string_view keyword);
// Whether the bytes are well-formed UTF-8 (no overlong form, surrogate or code point beyond
// U+10FFFF).
bool IsUtf8(std::string_view text);
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);
std::string DoubleSingleQuotes(const std::string& text);
