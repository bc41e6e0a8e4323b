#pragma once
// Format Query: the query rewritten as one stream of words separated by single blanks, with a line
// break before each split word (Format/SplitWords, matched without regard to case).
//
// What the words are made of never changes: a '…' literal, a "…" or `…` quoted name, a […] name
// (each with its doubled closing character inside), a /* … */ comment and a -- comment up to its
// line end are kept byte for byte inside the word they belong to, a split word inside them starts
// no line, and a -- comment is always followed by a line break. An unclosed literal or comment
// runs to the end of the text.
//
// Before the words are taken, each line that does not start inside a literal or comment loses a
// pasted trace prefix (TracePrefixCleaned); further copies of the prefix in the line go too,
// except inside literals and comments.
#include <string>
#include <vector>

class SettingsStore;

std::string FormatQuery(const std::string& text, const std::vector<std::string>& splitWords);
// With the split words of the settings.
std::string FormatQuery(const std::string& text, const SettingsStore& settings);

// The split words of a Format/SplitWords text: pieces between "|", trimmed of blanks; an empty
// piece between two separators stays, an empty last piece is dropped.
std::vector<std::string> ParseSplitWords(const std::string& setting);

// A raw line without its pasted trace prefix:
// a. a line "[…]…|rest" whose first "]" comes before its first "|" is cut to "|rest";
// b. then a line starting "|x…x|k|" (a third "|" two characters after the second) loses that
//    prefix wherever it occurs in the line.
// Lines with neither shape are unchanged.
std::string TracePrefixCleaned(const std::string& line);
