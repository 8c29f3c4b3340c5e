// The command line: its arguments (which also choose the window's options)
// and its commands, which run on the engine without any display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace tf::cli {

enum class Command { Window, Clean, Join, Squish, Authors, Title, Reference };

// What the arguments ask for.
struct Invocation {
  Command command = Command::Window;
  bool help = false;
  bool version = false;
  bool keepParagraphs = false;  // join -p
  bool noSquish = false;        // join --no-squish
  bool raw = false;             // authors/title --raw
  bool eachLine = false;        // -l
  bool null = false;            // -z
  bool clipboard = false;       // --clipboard: the clipboard's text in, the result back
  bool whole = false;           // reference --whole: the whole input is one reference
  reference::Format format = reference::Format::CslJson;  // reference --format
  engine::WordListChoice wordList;
  std::optional<engine::Mode> mode;  // --smart or --classic; else the setting
  std::vector<std::string> files;  // bytes, as the system gave them
};

struct Parsed {
  Invocation invocation;
  std::string error;  // a usage error, when not empty
};

// Reads the arguments. Without a command only the window's options are
// accepted; every other mistake is a usage error too. Nothing here needs a
// display, so a usage error is found before the window is tried.
Parsed Parse(int argc, char** argv);

// Prints a usage error and returns the exit status for it (2).
int UsageError(const std::string& message);
// Stops a program whose built-in data cannot be used, saying why: the exit
// status (70) to return, or nullopt when all is well.
std::optional<int> StopIfDamaged();

// What both programs' entries do first: the standard streams guarded, the
// built-in data checked, the arguments read (a usage error said). `stop` is
// the exit status to end with at once, when there is one.
struct Start {
  std::optional<int> stop;
  Invocation invocation;
};
Start Begin(int argc, char** argv);

// The words a command looks things up in (none when it needs none), with
// the warnings of lists that could not be read. A word list may be a pipe,
// which can be read once: load them before anything else.
engine::LoadedWords LoadWordsFor(const Invocation& invocation);

// What a command makes of `input` as a whole, as one text: the results of
// its records (with -l, one a line) without a final line end, or the
// references in the format asked for (empty when there are none).
std::u16string Result(const Invocation& invocation, const engine::Words& words, std::u16string_view input);

// Runs a command (or --help, --version); returns the exit status: 0 on
// success, 1 when an input cannot be read, a result cannot be written or
// memory runs out.
int Run(const Invocation& invocation);

// Standard input, output and error closed when the program starts would be
// taken by the next file opened, and a result written there. Fills each
// closed one with /dev/null opened the wrong way round, so that using it
// fails and says so. Call before anything opens a file.
void GuardStandardStreams();

}  // namespace tf::cli
