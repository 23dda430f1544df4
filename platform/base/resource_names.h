#pragma once
// Named ids in resource scripts. A header names ids one a line as
// "inline constexpr UINT NAME = number;"; a script then writes NAME where the
// grammar (resource_script.cpp) wants a number. The resource build puts the
// numbers in before the scripts are embedded (tools/rcnames).
//
// A word is an id name when it reads ID..._ or AFX_ID..._ (IDC_, IDD_, ID_,
// IDR_, IDS_ ...). Names inside quoted strings and "//" comments are left
// alone, and so is IDC_STATIC, which the grammar knows.

#include <map>
#include <string>
#include <string_view>

using ResourceNames = std::map<std::string, unsigned long, std::less<>>;

// Adds the id constants of a header's text to names.
void ReadResourceNames(std::string_view header, ResourceNames& names);

// The script with every id name replaced by its decimal value. An id name
// that names holds not is an error: false, and error says where.
bool ResolveResourceNames(
    std::string_view script, const ResourceNames& names, std::string& out, std::string& error);
