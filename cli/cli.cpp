#include "cli/cli.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "squish/vocabulary.h"
#include "squish/wordlist.h"
#include "text/text.h"

namespace tf::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  titlefixer                        open the window\n"
    "  titlefixer clean   [FILE...]      the title-cased text\n"
    "  titlefixer join    [FILE...]      lines joined, then the letter-spacing repair\n"
    "      -p, --keep-paragraphs         keep blank lines as paragraph breaks\n"
    "      --no-squish                   join only, no letter-spacing repair\n"
    "  titlefixer squish  [FILE...]      the letter-spacing repair alone\n"
    "  titlefixer authors [FILE...]      title-case, then print the authors part\n"
    "  titlefixer title   [FILE...]      title-case, then print the title part\n"
    "      --raw                         split the text as it is, without title-casing\n"
    "For every command:\n"
    "  --wordlist PATH       extra vocabulary file (default: wordlist.txt in the\n"
    "                        working directory, else ~/.config/titlefixer/wordlist.txt)\n"
    "  --no-wordlist         the built-in vocabulary only\n"
    "  -l, --each-line       every input line is a text of its own; one result per line\n"
    "  -z, --null            with --each-line: records end with NUL instead of LF\n"
    "  -h, --help            this text\n"
    "  --version             the program's version\n"
    "Input is the FILEs one after another, or standard input when there is none or\n"
    "FILE is '-': UTF-8, or Windows-1252 when it is not valid UTF-8. Each result is\n"
    "written in UTF-8 followed by one LF (one NUL with -z).\n";

const QStringList kCommands = {"clean", "join", "squish", "authors", "title"};

void Error(const std::string& message) {
  std::fprintf(stderr, "titlefixer: %s\n", message.c_str());
}

int UsageError(const std::string& message) {
  Error(message);
  std::fprintf(stderr, "Try 'titlefixer --help'.\n");
  return 2;
}

bool WriteAll(const std::string& bytes) {
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

// The vocabulary for the letter-spacing repair, as the options choose it.
// Returns nullopt (after a message) when a named word list does not exist.
std::optional<Vocabulary> LoadVocabulary(const QCommandLineParser& parser, bool noWordList,
                                         const QString& wordListOption) {
  if (noWordList) return Vocabulary();
  std::optional<std::string> path;
  if (parser.isSet(wordListOption)) {
    path = parser.value(wordListOption).toStdString();
  } else {
    path = DefaultWordListPath();
  }
  if (!path) return Vocabulary();
  const WordListFile file = ReadWordListFile(*path);
  if (file.status == WordListFile::Status::Loaded) return Vocabulary::StartWords(file.text);
  if (file.status == WordListFile::Status::Missing && parser.isSet(wordListOption)) {
    Error(*path + ": " + file.reason);
    return std::nullopt;
  }
  // An unreadable list costs the user's extra words, not the result.
  Error("cannot read word list " + file.path + ": " + file.reason +
        "; using the built-in words only");
  return Vocabulary();
}

}  // namespace

const char* Usage() { return kUsage; }

bool WantsCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") return true;
    if (arg == "--wordlist") {
      ++i;
      continue;
    }
    if (arg == "-h" || arg == "--help" || arg == "--version" || arg == "-help") return true;
    if (arg.empty() || arg[0] != '-' || arg == "-") return true;
  }
  return false;
}

int Run(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("titlefixer");
  QCoreApplication::setApplicationVersion(TF_VERSION);

  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  const QCommandLineOption keepParagraphs({"p", "keep-paragraphs"}, "");
  const QCommandLineOption noSquish("no-squish", "");
  const QCommandLineOption raw("raw", "");
  const QCommandLineOption wordList("wordlist", "", "PATH");
  const QCommandLineOption noWordList("no-wordlist", "");
  const QCommandLineOption eachLine({"l", "each-line"}, "");
  const QCommandLineOption null({"z", "null"}, "");
  const QCommandLineOption help({"h", "help"}, "");
  const QCommandLineOption version("version", "");
  parser.addOptions({keepParagraphs, noSquish, raw, wordList, noWordList, eachLine, null, help,
                     version});
  if (!parser.parse(QCoreApplication::arguments())) return UsageError(parser.errorText().toStdString());
  if (parser.isSet(help)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("titlefixer %s\n", TF_VERSION);
    return 0;
  }
  QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return UsageError("no command given");
  const QString command = args.takeFirst();
  if (!kCommands.contains(command)) return UsageError("unknown command '" + command.toStdString() + "'");
  const bool isJoin = command == "join";
  const bool isSplit = command == "authors" || command == "title";
  if (parser.isSet(keepParagraphs) && !isJoin) return UsageError("-p/--keep-paragraphs goes with join");
  if (parser.isSet(noSquish) && !isJoin) return UsageError("--no-squish goes with join");
  if (parser.isSet(raw) && !isSplit) return UsageError("--raw goes with authors and title");
  if (parser.isSet(wordList) && parser.isSet(noWordList))
    return UsageError("--wordlist and --no-wordlist exclude each other");

  // A word list named explicitly must exist, whatever the command.
  if (parser.isSet(wordList)) {
    const std::string path = parser.value(wordList).toStdString();
    if (::access(path.c_str(), F_OK) != 0) {
      Error(path + ": " + std::strerror(errno));
      return 1;
    }
  }

  // Read every input before writing anything, so that an unreadable file
  // leaves standard output empty.
  if (args.isEmpty()) args << "-";
  std::string bytes;
  for (const QString& file : args) {
    const std::string path = file.toStdString();
    std::string one;
    if (const int error = ReadFileBytes(path, one); error != 0) {
      Error((path == "-" ? std::string("standard input") : path) + ": " + std::strerror(error));
      return 1;
    }
    if (one.starts_with("\xEF\xBB\xBF") && IsValidUtf8(one)) one.erase(0, 3);
    bytes += one;
  }
  const std::u16string input = DecodeText(bytes);
  bytes.clear();
  bytes.shrink_to_fit();

  std::optional<Vocabulary> vocabulary;
  const bool squishes = command == "squish" || (isJoin && !parser.isSet(noSquish));
  if (squishes) {
    vocabulary = LoadVocabulary(parser, parser.isSet(noWordList), "wordlist");
    if (!vocabulary) return 1;
  }

  std::function<std::u16string(std::u16string_view)> operation;
  if (command == "clean") {
    operation = [](std::u16string_view t) { return CleanTitle(t); };
  } else if (isJoin) {
    const bool paragraphs = parser.isSet(keepParagraphs);
    operation = [&, paragraphs](std::u16string_view t) {
      std::u16string joined = paragraphs ? JustLineBreaks2(t) : JustLineBreaks(t);
      return vocabulary ? SquishText(joined, *vocabulary) : joined;
    };
  } else if (command == "squish") {
    operation = [&](std::u16string_view t) { return SquishText(t, *vocabulary); };
  } else {
    const bool authors = command == "authors", asIs = parser.isSet(raw);
    operation = [authors, asIs](std::u16string_view t) {
      AuthorsTitle parts = asIs ? GetAuthorsTitle(t) : GetAuthorsTitle(CleanTitle(t));
      return authors ? parts.Authors : parts.Title;
    };
  }

  const bool nul = parser.isSet(null);
  const char terminator = nul ? '\0' : '\n';
  bool ok = true;
  if (!parser.isSet(eachLine) && !nul) {
    ok = WriteAll(EncodeUtf8(operation(input)) + terminator);
  } else {
    // Records end with LF (a CR before it belongs to the line end) or, with
    // -z, with NUL; a last record without its terminator still counts.
    const char16_t end = nul ? u'\0' : u'\n';
    std::string out;
    size_t from = 0;
    while (from < input.size()) {
      size_t stop = input.find(end, from);
      const size_t next = stop == std::u16string::npos ? input.size() : stop + 1;
      if (stop == std::u16string::npos) stop = input.size();
      std::u16string_view record(input.data() + from, stop - from);
      if (!nul && record.ends_with(u'\r')) record.remove_suffix(1);
      out += EncodeUtf8(operation(record));
      out += terminator;
      from = next;
      if (out.size() >= (1u << 20)) {
        ok = ok && WriteAll(out);
        out.clear();
      }
    }
    ok = ok && WriteAll(out);
  }
  if (!ok) {
    Error(std::string("cannot write the result: ") + std::strerror(errno));
    return 1;
  }
  return 0;
}

}  // namespace tf::cli
