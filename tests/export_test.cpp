// What `titlefixer reference` writes is read by the programs it is meant
// for: the CSL-JSON by a JSON reader (Qt's), the BibTeX by bibtool, and the
// RIS line by line as RIS readers take it; on the project's references
// and on lines made to break each format.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "tests/binary_test.h"

namespace tf {
namespace {

using Export = test::BinaryTest;

// The project's references, and lines with every character the formats
// treat specially.
std::string Input(size_t& count) {
  std::ifstream in(TF_REFERENCES, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text +=
      "Doe, A. {unbalanced (2020). Title with } and \\ and % and \"quotes\" #1 $5 ~x ^y _z. J. Odd, 1(2), 3-4.\n"
      "\"Quoted\" \\\\ {{{ }}} @article{x, title={y}} 2001\n"
      "Tab\there, a control \x01 and a form feed \x0C (1999). T. \xE2\x80\xA8 Line separator.\n"
      ",,,;;;\n"
      "\n"
      "O'Brien, T. & M\xC3\xBCller, K. 1999. \xC2\xABGuillemets\xC2\xBB: and \xE2\x80\x9Cquotes\xE2\x80\x9D. Z. f. Geo. 3, 1.\n";
  count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) count += line.find_first_not_of(" \t\r") != std::string::npos;
  return text;
}

TEST_F(Export, CslJsonIsOneArrayQtReads) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "csl-json"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(got.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  ASSERT_TRUE(doc.isArray());
  const QJsonArray items = doc.array();
  ASSERT_EQ(static_cast<size_t>(items.size()), count);
  for (const auto& item : items) {
    EXPECT_FALSE(item.toObject().value("id").toString().isEmpty());
    EXPECT_FALSE(item.toObject().value("type").toString().isEmpty());
  }
  const QJsonObject first = items.at(0).toObject();
  EXPECT_EQ(first.value("type").toString(), "article-journal");
  EXPECT_EQ(first.value("title").toString(), "Geothermal reservoir engineering in New Zealand");
  EXPECT_EQ(first.value("author").toArray().at(1).toObject().value("family").toString(), "Doe");
  EXPECT_EQ(first.value("issued").toObject().value("date-parts").toArray().at(0).toArray().at(0).toInt(), 2020);
  EXPECT_EQ(first.value("page").toString(), QString::fromUtf8("45-67"));
}

TEST_F(Export, BibtoolReadsEveryEntry) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "bibtex"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  const std::string in = File("in.bib", got.out), out = (Dir() / "out.bib").string();
  const auto bibtool = test::RunProcess({TF_BIBTOOL, "-q", "-o", out, in}, "");
  ASSERT_EQ(bibtool.status, 0) << bibtool.err;
  EXPECT_EQ(bibtool.err, "");
  std::ifstream read(out);
  const std::string written((std::istreambuf_iterator<char>(read)), std::istreambuf_iterator<char>());
  size_t entries = 0;
  for (size_t at = written.find("\n@"); at != std::string::npos; at = written.find("\n@", at + 1)) ++entries;
  entries += written.starts_with("@");
  EXPECT_EQ(entries, count) << written;
}

TEST_F(Export, RisIsTagLinesAndRecords) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "ris"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  const std::regex tagLine("[A-Z][A-Z0-9]  - .*");
  std::istringstream lines(got.out);
  size_t records = 0, blank = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) {
      ++blank;
      continue;
    }
    EXPECT_TRUE(std::regex_match(line, tagLine)) << line;
    records += line == "ER  - ";
  }
  EXPECT_EQ(records, count);
  EXPECT_EQ(blank, count - 1);
}

}  // namespace
}  // namespace tf
