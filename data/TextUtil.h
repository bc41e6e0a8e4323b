#pragma once
// Trimming, splitting, case folding and replacing in UTF-8 text.
#include <string>
#include <vector>

std::string Trim(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimLeft(const std::string& text, const std::string& set = " \t\r\n");
std::string TrimRight(const std::string& text, const std::string& set = " \t\r\n");
void SplitTrimmed(const std::string& text, char separator, std::vector<std::string>& out);
void SplitTokens(const std::string& text, const std::string& delimiters, std::vector<std::string>& out);
// Case folding of UTF-8 text by code point; invalid bytes are kept as they are.
std::string ToLower(const std::string& text);
int CompareNoCase(const std::string& a, const std::string& b);
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);
std::string DoubleSingleQuotes(const std::string& text);
