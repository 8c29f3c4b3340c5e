#include "cli/cli.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string_view>


namespace tf::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  titlefixer [--smart | --classic] [--wordlist PATH | --no-wordlist]\n"
    "                                    open the window\n"
    "  titlefixer clean   [FILE...]      the title-cased text\n"
    "  titlefixer join    [FILE...]      lines joined, then the letter-spacing repair\n"
    "      -p, --keep-paragraphs         keep blank lines as paragraph breaks\n"
    "      --no-squish                   join only, no letter-spacing repair\n"
    "  titlefixer squish  [FILE...]      the letter-spacing repair alone\n"
    "  titlefixer authors [FILE...]      title-case, then print the authors part\n"
    "  titlefixer title   [FILE...]      title-case, then print the title part\n"
    "      --raw                         split the text as it is, without title-casing\n"
    "  titlefixer reference [FILE...]    the references found in the input, each taken\n"
    "                                    apart, for a reference manager\n"
    "      --format FORMAT               csl-json (the default: one array), bibtex or ris\n"
    "      --whole                       the whole input is one reference\n"
    "For every command:\n"
    "  --smart               smart repairs: ligatures, hyphenated line ends, any\n"
    "                        letter-spaced English word, a better title case\n"
    "  --classic             the classic results (the default, unless the\n"
    "                        window's Options > Smart repairs is on)\n"
    "  --wordlist PATH       extra vocabulary file (default: wordlist.txt in the\n"
    "                        working directory, else ~/.config/titlefixer/wordlist.txt)\n"
    "  --no-wordlist         the built-in vocabulary only\n"
    "  --clipboard           the clipboard's text is the input, and the result\n"
    "                        replaces it (no FILE; nothing is printed)\n"
    "  -l, --each-line       every input line is a text of its own; one result per line\n"
    "  -z, --null            with --each-line: records end with NUL instead of LF\n"
    "  -h, --help            this text\n"
    "  --version             the program's version\n"
    "Input is the FILEs one after another, or standard input when there is none or\n"
    "FILE is '-': UTF-16 after its byte-order mark, UTF-8, or Windows-1252 when it\n"
    "is not valid UTF-8. Each result is written in UTF-8 followed by one LF (one\n"
    "NUL with -z).\n";

constexpr const char* kVersion =
    "titlefixer " TF_VERSION "\n"
    "Copyright (c) 2026 The Title Fixer developers. MIT licence: you may use, copy,\n"
    "change and share it; there is no warranty.\n"
    "Smart mode's dictionary is made from SCOWL, Copyright 2000-2011 Kevin Atkinson\n"
    "(a permissive licence); the reference model is trained on labelled\n"
    "references, Copyright 2011-2023 Sylvester Keil (BSD-2-Clause).\n"
    "See /usr/share/doc/titlefixer/copyright for the full texts.\n";

struct CommandName {
  std::string_view name;
  Command command;
};
constexpr std::array<CommandName, 6> kCommands = {{{"clean", Command::Clean},
                                                   {"join", Command::Join},
                                                   {"squish", Command::Squish},
                                                   {"authors", Command::Authors},
                                                   {"title", Command::Title},
                                                   {"reference", Command::Reference}}};

struct FormatName {
  std::string_view name;
  reference::Format format;
};
constexpr std::array<FormatName, 3> kFormats = {{{"csl-json", reference::Format::CslJson},
                                                 {"bibtex", reference::Format::BibTeX},
                                                 {"ris", reference::Format::Ris}}};

// The options, each written once: its long name, its letter (or none), and
// what it does to the invocation. Those with a value say what the value is
// called in the message given when it is missing.
struct Option {
  std::string_view name;
  char letter;
  const char* value;  // the value's description, or nullptr for a switch
  // Applies it; returns an error message, or empty.
  std::string (*apply)(Invocation& inv, const std::string& value);
};
std::string SetFormat(Invocation& inv, const std::string& value) {
  for (const auto& f : kFormats)
    if (value == f.name) {
      inv.format = f.format;
      return {};
    }
  return "unknown format '" + value + "' (csl-json, bibtex or ris)";
}
constexpr std::array<Option, 14> kOptions = {{
    {"keep-paragraphs", 'p', nullptr, [](Invocation& inv, const std::string&) { return inv.keepParagraphs = true, std::string(); }},
    {"no-squish", 0, nullptr, [](Invocation& inv, const std::string&) { return inv.noSquish = true, std::string(); }},
    {"raw", 0, nullptr, [](Invocation& inv, const std::string&) { return inv.raw = true, std::string(); }},
    {"wordlist", 0, "a PATH", [](Invocation& inv, const std::string& v) { return inv.wordList.path = v, std::string(); }},
    {"no-wordlist", 0, nullptr,
     [](Invocation& inv, const std::string&) { return inv.wordList.useFile = false, std::string(); }},
    {"each-line", 'l', nullptr, [](Invocation& inv, const std::string&) { return inv.eachLine = true, std::string(); }},
    {"null", 'z', nullptr, [](Invocation& inv, const std::string&) { return inv.null = true, std::string(); }},
    {"help", 'h', nullptr, [](Invocation& inv, const std::string&) { return inv.help = true, std::string(); }},
    {"version", 0, nullptr, [](Invocation& inv, const std::string&) { return inv.version = true, std::string(); }},
    {"smart", 0, nullptr,
     [](Invocation& inv, const std::string&) { return inv.mode = engine::Mode::Smart, std::string(); }},
    {"classic", 0, nullptr,
     [](Invocation& inv, const std::string&) { return inv.mode = engine::Mode::Classic, std::string(); }},
    {"format", 0, "a FORMAT (csl-json, bibtex or ris)", SetFormat},
    {"clipboard", 0, nullptr, [](Invocation& inv, const std::string&) { return inv.clipboard = true, std::string(); }},
    {"whole", 0, nullptr, [](Invocation& inv, const std::string&) { return inv.whole = true, std::string(); }},
}};

bool g_standardInputClosed = false;

void Error(const std::string& message) {
  engine::Complain(message);
}

// Writes all of `bytes` to standard output; false (with errno) when it fails.
bool WriteAll(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(1, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

int WriteFailed() {
  Error(std::string("cannot write the result: ") + std::strerror(errno));
  return 1;
}

// The options' effect on the invocation, one by one. Returns an error
// message, or empty.
class ArgumentReader {
 public:
  ArgumentReader(int argc, char** argv) : m_args(argv + 1, argv + argc) {}

  std::string Read(Invocation& inv) {
    std::vector<std::string> positional;
    bool onlyPositional = false;
    for (m_next = 0; m_next < m_args.size();) {
      const std::string arg = m_args[m_next++];
      if (onlyPositional || arg == "-" || arg.empty() || arg[0] != '-') {
        positional.push_back(arg);
      } else if (arg == "--") {
        onlyPositional = true;
      } else if (arg.starts_with("--")) {
        if (auto error = Long(arg.substr(2), inv); !error.empty()) return error;
      } else if (auto error = Shorts(arg.substr(1), inv); !error.empty()) {
        return error;
      }
    }
    if (!positional.empty()) {
      const std::string& name = positional.front();
      bool known = false;
      for (const auto& c : kCommands)
        if (name == c.name) inv.command = c.command, known = true;
      if (!known) return "unknown command '" + name + "'";
      inv.files.assign(positional.begin() + 1, positional.end());
    }
    return Check(inv);
  }

 private:
  std::string Long(const std::string& option, Invocation& inv) {
    std::string name = option, value;
    const auto eq = option.find('=');
    const bool hasValue = eq != std::string::npos;
    if (hasValue) name = option.substr(0, eq), value = option.substr(eq + 1);
    for (const Option& o : kOptions) {
      if (name != o.name) continue;
      if (!o.value && hasValue) return "option '--" + name + "' takes no value";
      if (o.value && !hasValue) {
        if (m_next >= m_args.size()) return "option '--" + name + "' needs " + o.value;
        value = m_args[m_next++];
      }
      m_seen.push_back(name);
      return o.apply(inv, value);
    }
    return "unknown option '--" + name + "'";
  }

  std::string Shorts(const std::string& letters, Invocation& inv) {
    for (const Option& o : kOptions)
      if (letters == o.name) return "unknown option '-" + letters + "'; did you mean '--" + letters + "'?";
    for (const char c : letters) {
      const Option* found = nullptr;
      for (const Option& o : kOptions)
        if (o.letter != 0 && o.letter == c) found = &o;
      if (!found) return "unknown option '-" + std::string(1, c) + "'";
      m_seen.emplace_back(found->name);
      found->apply(inv, {});
    }
    return {};
  }

  bool Seen(std::string_view name) const {
    for (const auto& s : m_seen)
      if (s == name) return true;
    return false;
  }

  std::string Check(Invocation& inv) const {
    if (inv.help || inv.version) return {};
    if (Seen("wordlist") && Seen("no-wordlist")) return "--wordlist and --no-wordlist exclude each other";
    if (Seen("smart") && Seen("classic")) return "--smart and --classic exclude each other";
    const bool join = inv.command == Command::Join;
    const bool split = inv.command == Command::Authors || inv.command == Command::Title;
    if (inv.command == Command::Window) {
      for (const auto& s : m_seen)
        if (s != "wordlist" && s != "no-wordlist" && s != "smart" && s != "classic")
          return "option '--" + s + "' needs a command";
      return {};
    }
    if (inv.keepParagraphs && !join) return "-p/--keep-paragraphs goes with join";
    if (inv.noSquish && !join) return "--no-squish goes with join";
    if (inv.raw && !split) return "--raw goes with authors and title";
    if (Seen("format") && inv.command != Command::Reference) return "--format goes with reference";
    if (inv.whole && inv.command != Command::Reference) return "--whole goes with reference";
    if (inv.whole && (inv.eachLine || inv.null)) return "--whole and -l/--each-line exclude each other";
    if (inv.clipboard && !inv.files.empty()) return "--clipboard takes no FILE: the clipboard's text is the input";
    if (inv.null) inv.eachLine = true;
    return {};
  }

  std::vector<std::string> m_args;
  size_t m_next = 0;
  std::vector<std::string> m_seen;  // long names of the options given
};

// The inputs, each FILE decoded on its own, one after another; nullopt
// after a message when one cannot be read.
std::optional<std::u16string> ReadInputs(const std::vector<std::string>& files) {
  std::u16string text;
  for (const std::string& path : files) {
    const bool standardInput = path == "-";
    engine::Input in = engine::ReadInput(path);
    if (in.error != 0) {
      if (standardInput && g_standardInputClosed) Error("standard input is closed");
      else Error((standardInput ? std::string("standard input") : path) + ": " + std::strerror(in.error));
      return std::nullopt;
    }
    text += in.text;
  }
  return text;
}

using Operation = std::function<std::u16string(std::u16string_view)>;

Operation OperationFor(const Invocation& inv, const engine::Engine& e) {
  switch (inv.command) {
    case Command::Clean:
      return [e](std::u16string_view t) { return e.Clean(t); };
    case Command::Join:
      return [e, paragraphs = inv.keepParagraphs, squish = !inv.noSquish](std::u16string_view t) {
        return e.Join(t, paragraphs, squish);
      };
    case Command::Squish:
      return [e](std::u16string_view t) { return e.Squish(t); };
    case Command::Authors:
    case Command::Title:
      return [e, raw = inv.raw, authors = inv.command == Command::Authors](std::u16string_view t) {
        AuthorsTitle parts = e.Split(t, raw);
        return authors ? std::move(parts.Authors) : std::move(parts.Title);
      };
    case Command::Reference:
    case Command::Window:
      break;
  }
  throw std::logic_error("no text operation for this command");
}

// Calls `each` with every record of the input, in order, until it returns
// false: the whole input is one record, or with -l each line (LF, a CR
// before it belonging to the line end) or with -z each NUL-terminated
// record; a last record without its end still counts. False when `each`
// stopped it.
template <typename Each>
bool ForEachRecord(const Invocation& inv, std::u16string_view input, Each&& each) {
  if (!inv.eachLine) return each(input);
  const char16_t end = inv.null ? u'\0' : u'\n';
  for (size_t from = 0; from < input.size();) {
    const size_t stop = std::min(input.find(end, from), input.size());
    std::u16string_view record = input.substr(from, stop - from);
    if (!inv.null && record.ends_with(u'\r')) record.remove_suffix(1);
    if (!each(record)) return false;
    from = stop + 1;
  }
  return true;
}

bool IsBlank(std::u16string_view record) { return record.find_first_not_of(u" \t\r\n") == std::u16string_view::npos; }

// Writes the bytes made so far once they are many; false when that fails.
bool Flush(std::string& out) {
  if (out.size() < (1u << 20)) return true;
  const bool written = WriteAll(out);
  out.clear();
  return written;
}

// Calls `each` with the references in the input, in order: those found in
// it, or with -l one a line, or with --whole the input as one; blank records
// hold none.
template <typename Each>
bool ForEachReference(const Invocation& inv, const engine::Engine& e, std::u16string_view input, Each&& each) {
  if (!inv.eachLine && !inv.whole) return e.ForEachReference(input, each);
  return ForEachRecord(inv, input, [&](std::u16string_view record) {
    return IsBlank(record) || each(e.ParseReference(record));
  });
}

// Where a run's result goes. On standard output each record's result ends
// with LF (NUL with -z), and squish's own final line end stands for the
// input's, or `echo x | titlefixer squish` would print a blank line; on the
// clipboard the results stand between those, and the text is kept whole.
enum class Destination { StandardOutput, Clipboard };

// The one way a run makes its result: piece by piece to `put`, which
// returns false to stop (a write that failed). `references` counts the
// references written.
template <typename Put>
bool Produce(const Invocation& inv, const engine::Engine& e, std::u16string_view input, Destination to, Put&& put,
             size_t& references) {
  if (inv.command == Command::Reference) {
    reference::Writer writer = e.ReferenceWriter(inv.format, inv.null);
    if (!put(writer.Begin())) return false;
    const bool all = ForEachReference(inv, e, input, [&](const reference::Reference& r) {
      ++references;
      return put(writer.Add(r));
    });
    return put(writer.End()) && all;
  }
  const Operation operation = OperationFor(inv, e);
  const std::u16string terminator(1, inv.null ? u'\0' : u'\n');
  if (to == Destination::StandardOutput && inv.command == Command::Squish && !inv.eachLine) {
    if (input.ends_with(u"\r\n")) input.remove_suffix(2);
    else if (input.ends_with(u'\n') || input.ends_with(u'\r')) input.remove_suffix(1);
  }
  bool first = true;
  return ForEachRecord(inv, input, [&](std::u16string_view record) {
    if (to == Destination::Clipboard && !first && !put(terminator)) return false;
    first = false;
    return put(operation(record)) && (to == Destination::Clipboard || put(terminator));
  });
}

// Writes the result to standard output, in UTF-8, a megabyte at a time.
bool WriteResult(const Invocation& inv, const engine::Engine& e, std::u16string_view input) {
  std::string out;
  size_t references = 0;
  const bool all = Produce(inv, e, input, Destination::StandardOutput, [&](std::u16string_view piece) {
    out += engine::ToUtf8(piece);
    return Flush(out);
  }, references);
  return all && WriteAll(out);
}

// The mode asked for, else the remembered one; the preferences are read
// (and what is wrong with their file said) once a run.
engine::Mode ModeFor(const Invocation& inv) {
  if (inv.mode) return *inv.mode;
  static const engine::Mode remembered = [] {
    const LoadedPreferences loaded = LoadPreferences();
    for (const auto& w : loaded.warnings) Error(w);
    return engine::ChosenMode(std::nullopt, loaded.values);
  }();
  return remembered;
}

bool NeedsWords(const Invocation& inv, engine::Mode mode) {
  return mode == engine::Mode::Smart || inv.command == Command::Squish || inv.command == Command::Reference ||
         (inv.command == Command::Join && !inv.noSquish);
}

engine::LoadedWords WordsFor(const Invocation& inv, engine::Mode mode) {
  return NeedsWords(inv, mode) ? engine::LoadWords(inv.wordList) : engine::LoadedWords{};
}

int RunCommand(const Invocation& inv) {
  if (const auto missing = engine::MissingNamedList(inv.wordList)) {
    Error(*missing);
    return 1;
  }
  // Every input is read before anything is written, so that an unreadable
  // FILE leaves standard output empty.
  std::optional<std::u16string> input =
      ReadInputs(inv.files.empty() ? std::vector<std::string>{"-"} : inv.files);
  if (!input) return 1;
  const engine::Mode mode = ModeFor(inv);
  const engine::LoadedWords loaded = WordsFor(inv, mode);
  for (const auto& warning : loaded.warnings) Error(warning);
  const engine::Engine e(mode, loaded.words);
  return WriteResult(inv, e, *input) ? 0 : WriteFailed();
}

}  // namespace

engine::LoadedWords LoadWordsFor(const Invocation& inv) { return WordsFor(inv, ModeFor(inv)); }

std::u16string Result(const Invocation& inv, const engine::Words& words, std::u16string_view input) {
  const engine::Engine e(ModeFor(inv), words);
  std::u16string out;
  size_t references = 0;
  Produce(inv, e, input, Destination::Clipboard, [&](std::u16string_view piece) {
    out += piece;
    return true;
  }, references);
  // A list in which no reference was found makes no result.
  return inv.command == Command::Reference && references == 0 ? std::u16string() : out;
}

Parsed Parse(int argc, char** argv) {
  Parsed parsed;
  parsed.error = ArgumentReader(argc, argv).Read(parsed.invocation);
  return parsed;
}

Start Begin(int argc, char** argv) {
  Start start;
  GuardStandardStreams();
  if ((start.stop = StopIfDamaged())) return start;
  Parsed parsed = Parse(argc, argv);
  if (!parsed.error.empty()) {
    start.stop = UsageError(parsed.error);
    return start;
  }
  start.invocation = std::move(parsed.invocation);
  return start;
}

std::optional<int> StopIfDamaged() {
  const std::optional<std::string> problem = engine::BuiltInDataProblem();
  if (!problem) return std::nullopt;
  engine::Complain("this copy of the program is damaged: " + *problem + "; install it again");
  return 70;  // EX_SOFTWARE
}

int UsageError(const std::string& message) {
  Error(message);
  std::fputs("Try 'titlefixer --help'.\n", stderr);
  return 2;
}

int Run(const Invocation& inv) {
  if (inv.help || inv.version) {
    const std::string text = inv.help ? std::string(kUsage) : std::string(kVersion);
    return WriteAll(text) ? 0 : WriteFailed();
  }
  try {
    return RunCommand(inv);
  } catch (...) {
    Error(engine::FailureOf(std::current_exception()).message);
  }
  return 1;
}

void GuardStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    if (fd == 0) g_standardInputClosed = true;
    // open() takes the lowest free descriptor: this one.
    ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
  }
}

}  // namespace tf::cli
