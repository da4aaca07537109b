#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers shared by the parser, the router and the WebSocket session.
namespace dravin::text {

bool isValidUtf8(std::string_view bytes);

// Pieces between separators; empty pieces are dropped, as the request grammar wants.
std::vector<std::string_view> split(std::string_view text, char separator);
std::vector<std::string_view> split(std::string_view text, char separator, std::size_t maxSplits);

std::string_view trimBlanks(std::string_view text);  // spaces and tabs
std::string lowercase(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Fails on a malformed escape or when the decoded bytes are not UTF-8.
std::optional<std::string> percentDecode(std::string_view text);

}  // namespace dravin::text
