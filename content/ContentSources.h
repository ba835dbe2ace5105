#pragma once
#include <string>
#include <vector>

// The content build's own readers for authored sources: resource fragments
// that are joined into "res.xml", and the UTF-8 text source compiled into the
// UTF-16 text table. They live in the library so that tests can feed them
// in-memory sources; the totem-content tool wraps them.

// One authored piece of the resource descriptions: a sequence of "resources"
// groups without a root element. `name` is the file it came from.
struct ResourceFragment {
    std::string name;
    std::string text;
};

// Joins the fragments, in the given order, into one resource description.
// Appends a "FILE: problem" line to `problems` for an id declared twice in one
// scope (across all fragments), a declaration without an id or without a
// path, a "resources" group without a scope id (it could never be loaded), and
// a fragment with no "resources" group. The joined text is only
// meaningful when no problem was added.
std::string JoinResourceFragments(const std::vector<ResourceFragment>& fragments,
                                  std::vector<std::string>& problems);

// Compiles a text source into the bytes of the UTF-16 LE text table. Source
// lines are "NUMBER TEXT" with NUMBER of one to three digits; empty lines and
// lines starting with '#' are skipped. Appends "FILE:LINE: problem" for a line
// without a number, a number defined twice, and a character outside the Basic
// Multilingual Plane (the table has no surrogate pairs), a control character
// in a text (a carriage return would split the entry in two), or invalid UTF-8.
std::string CompileTextTable(const std::string& sourceName, const std::string& source,
                             std::vector<std::string>& problems);
