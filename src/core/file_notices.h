// What the user is told when a database file cannot be attached. Texts are
// UTF-8.
#pragma once

#include <exception>
#include <string>

// The two database files, as the notices name them.
enum class DatabaseFile { Memo, Catch };

// The notice shown at start when a database file cannot be attached at all:
// which file, what is wrong with it - missing, cannot be written (the engine
// attaches only with write access), in use by another copy of the program,
// no Firebird 3 engine installed to open it, or not a database the engine
// can open - and on a second line, after a CR, the directory it was looked
// for in (for the engine, where the engine was looked for). `path` is the name the connection
// attached by, `e` what the attach threw.
std::string DatabaseFileNotice(DatabaseFile file, const std::string& path, const std::exception& e);

// The first line of that notice alone: it heads the engine's own text in
// every later failure to attach the file.
std::string DatabaseFileHeadline(DatabaseFile file, const std::string& path, const std::exception& e);
