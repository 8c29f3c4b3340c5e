// What `titlefixer reference` writes is read by the programs it is meant
// for: the CSL-JSON by a JSON reader (Qt's), the BibTeX by bibtool, and the
// RIS line by line as RIS readers take it; on the project's references
// and on lines made to break each format.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <vector>

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
      "O'Brien, T. & M\xC3\xBCller, K. 1999. \xC2\xABGuillemets\xC2\xBB: and \xE2\x80\x9Cquotes\xE2\x80\x9D. Z. f. Geo. 3, 1.\n"
      // References without what their kind of entry requires: an article
      // with no year, a thesis with no school, a book with no publisher,
      // a paper with neither year nor editors, a report with no institution.
      "Smith, J. Geothermal fluids of the Taupo zone. Geothermics 12(3), 1-10.\n"
      "Jones, A., 2001. Heat flow in crystalline rocks. PhD thesis.\n"
      "Brown, B., 1999. The Big Book of Rocks, 2nd ed.\n"
      "Green, C. Fluid inclusions in quartz veins. In: Proceedings of the 12th Workshop, pp. 1-5.\n"
      "Black, D., 2010. Tracer tests at Wairakei. Technical report 12-34.\n"
      // Translators, data sets and standards, for every reader.
      "Foucault, M. (1977). Discipline and punish (A. Sheridan, Trans.). Pantheon Books, New York.\n"
      "Martin Heidegger, Kant and the Problem of Metaphysics, trans. Richard Taft (Bloomington: Indiana UP, 1997).\n"
      "Smith, J. (2020). Heat flow measurements [Data set]. Zenodo. https://doi.org/10.5281/zenodo.1234\n"
      "ISO 8601-1:2019. Date and time - Representations for information interchange - Part 1: Basic rules.\n"
      // A book in a series.
      "Ruef, John Samuel. Paul's First Letter to Corinth. The Pelican New Testament Commentaries. Harmondsworth: "
      "Penguin Books, 1971.\n"
      // Names run into their affiliations' numbers, commas and all.
      "Heat flow in granite and its cooling Ana B. Moreira1,2,3, Tomas Keller2,4 and Rui Santos1,2,5,6 Geothermics 2011\n";
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

// Every value in a JSON value, strings and numbers, one after another.
void Values(const QJsonValue& v, QString& out) {
  if (v.isString()) out += v.toString() + u' ';
  else if (v.isDouble()) out += QString::number(v.toDouble()) + u' ';
  else if (v.isArray())
    for (const auto& x : v.toArray()) Values(x, out);
  else if (v.isObject())
    for (const auto& x : v.toObject()) Values(x, out);
}

// Letters and digits only, in lower case.
QString Bare(const QString& s) {
  QString out;
  for (const QChar c : s)
    if (c.isLetterOrNumber()) out += c.toLower();
  return out;
}

// No word of a reference is lost on its way into a record: each run of
// letters and each number of it lands in some field, the note at least.
// Words that only mark a part ("vol.", "pp.", "and", "(Eds.)", "doi:"), the
// citation number, a month's name (written as its number), an edition's
// "2nd ed." (written 2) and a DOI's link (written as the DOI) need not.
TEST_F(Export, EveryWordLandsInAField) {
  size_t count = 0;
  const std::string input = Input(count);
  const auto got = Run({"reference", "-l", "--format", "csl-json", "--smart"}, input);
  ASSERT_EQ(got.status, 0) << got.err;
  const QJsonArray items = QJsonDocument::fromJson(QByteArray::fromStdString(got.out)).array();
  ASSERT_EQ(static_cast<size_t>(items.size()), count);
  const QStringList markers = {"and", "vol", "pp", "p", "no", "eds", "ed", "edn", "edition", "st", "nd", "rd", "th",
                               "in", "doi", "org", "dx", "et", "al", "https", "http", "trans",
                               "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  std::istringstream lines(input);
  qsizetype k = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    QString all;
    QJsonObject item = items.at(k++).toObject();
    item.remove("id");  // made from the reference, not a field of it
    item.remove("type");
    Values(item, all);
    const QString fields = Bare(all);
    QString text = QString::fromStdString(line);
    text.remove(QRegularExpression("^\\s*(\\[\\d+\\]|\\d+\\.)\\s"));  // the citation number
    // Ligatures are spelled out on the way.
    text.replace(QChar(0xFB01), "fi").replace(QChar(0xFB02), "fl");
    const QRegularExpression runs("\\p{L}+|\\d+");
    for (auto it = runs.globalMatch(text); it.hasNext();) {
      const QString run = it.next().captured().toLower();
      if (markers.contains(run)) continue;
      EXPECT_TRUE(fields.contains(run)) << "'" << run.toStdString() << "' lost from: " << line;
    }
  }
}

// A single reference, on one line or broken over several, comes out as it
// always did: as the whole input read as one reference.
TEST_F(Export, OneReferenceIsReadWhole) {
  std::ifstream in(TF_REFERENCES, std::ios::binary);
  std::vector<std::string> references;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) references.push_back(line);
  // The same references wrapped at 60 columns, as a PDF viewer copies one.
  const size_t count = references.size();
  for (size_t k = 0; k < count; ++k) {
    std::string wrapped, line;
    std::istringstream words(references[k]);
    for (std::string word; words >> word;) {
      if (!line.empty() && line.size() + 1 + word.size() > 60) wrapped += line + "\n", line.clear();
      line += (line.empty() ? "" : " ") + word;
    }
    references.push_back(wrapped + line + "\n");
  }
  for (const auto& reference : references) {
    const auto found = Run({"reference", "--format", "bibtex"}, reference);
    const auto whole = Run({"reference", "--format", "bibtex", "--whole"}, reference);
    ASSERT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, whole.out) << reference;
  }
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

// The lines of `text` that hold `what`.
std::vector<std::string> LinesWith(const std::string& text, const std::string& what) {
  std::vector<std::string> out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.find(what) != std::string::npos) out.push_back(line);
  return out;
}

// biber's data-model check reads every entry: no error, none skipped, no
// field the type does not take; a warning only for a required field the
// reference itself does not give (a line with no date, no author).
TEST_F(Export, BiberValidatesEveryEntry) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "bibtex"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  File("refs.bib", got.out);
  const auto biber = test::RunProcess({TF_BIBER, "--tool", "--validate-datamodel", "refs.bib"}, "", {}, Dir().string());
  ASSERT_EQ(biber.status, 0) << biber.out << biber.err;
  const std::string said = biber.out + biber.err;
  EXPECT_TRUE(LinesWith(said, "ERROR").empty()) << said;
  for (const std::string& warning : LinesWith(said, "WARN - "))
    EXPECT_NE(warning.find("Missing mandatory field"), std::string::npos) << warning;
  std::ifstream written(Dir() / "refs_bibertool.bib");
  const std::string tool((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  size_t entries = 0;
  for (size_t at = tool.find('@'); at != std::string::npos; at = tool.find("\n@", at + 1)) ++entries;
  EXPECT_EQ(entries, count) << tool;
}

// pybtex's plain style, which requires what plain.bst requires, formats
// every entry; and a sentence-case title keeps its proper nouns' capitals
// through the style's lower-casing.
TEST_F(Export, PlainStyleFormatsEveryEntry) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "bibtex"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  const std::string bib = File("refs.bib", got.out);
  const auto plain = test::RunProcess({TF_PYTHON, TF_PYBTEX_PLAIN, bib}, "");
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(LinesWith(plain.out, "").size(), count) << plain.out;
  // The style sets titles in sentence case; the proper nouns stay.
  const auto one = Run({"reference", "--format", "bibtex"},
                       "Grant, M.A., 2011. Geothermal reservoir engineering in the Taupo Volcanic Zone, New Zealand. "
                       "Geothermics 40, 1-10.\n");
  const auto formatted = test::RunProcess({TF_PYTHON, TF_PYBTEX_PLAIN, File("one.bib", one.out)}, "");
  ASSERT_EQ(formatted.status, 0) << formatted.err;
  EXPECT_NE(formatted.out.find("Geothermal reservoir engineering in the Taupo Volcanic Zone, New Zealand"),
            std::string::npos)
      << formatted.out;
}

// pandoc's citeproc renders every CSL-JSON record in APA and IEEE, without
// a warning.
TEST_F(Export, CiteprocRendersEveryRecord) {
  size_t count = 0;
  const auto got = Run({"reference", "-l", "--format", "csl-json"}, Input(count));
  ASSERT_EQ(got.status, 0) << got.err;
  const std::string json = File("refs.json", got.out);
  const std::string document = File("cite.md", "---\nnocite: |\n  @*\n---\n");
  for (const char* style : {"apa", "ieee"}) {
    SCOPED_TRACE(style);
    const auto pandoc = test::RunProcess({TF_PANDOC, "--citeproc", "--bibliography", json, "--csl",
                                          std::string(TF_CSL_STYLES) + "/" + style + ".csl", "-t", "plain",
                                          "--wrap", "none", document},
                                         "");
    ASSERT_EQ(pandoc.status, 0) << pandoc.err;
    EXPECT_EQ(pandoc.err, "");
    // One paragraph a record.
    size_t paragraphs = 0;
    bool inside = false;
    for (const std::string& line : LinesWith(pandoc.out, "")) {
      const bool text = line.find_first_not_of(" ") != std::string::npos;
      paragraphs += text && !inside;
      inside = text;
    }
    EXPECT_EQ(paragraphs, count) << pandoc.out;
  }
}

// "et al." reaches the printed reference: written as pandoc writes
// BibTeX's "and others", its citeproc prints the style's "et al.".
TEST_F(Export, EtAlRendersAsTheStylesEtAl) {
  const auto got = Run({"reference", "--format", "csl-json"},
                       "Smith, J., Jones, K., et al., 2011. Heat flow in the crust. Geothermics 38, 1-12.\n");
  ASSERT_EQ(got.status, 0) << got.err;
  const std::string json = File("etal.json", got.out);
  const std::string document = File("etal.md", "---\nnocite: |\n  @*\n---\n");
  const auto pandoc = test::RunProcess({TF_PANDOC, "--citeproc", "--bibliography", json, "--csl",
                                        std::string(TF_CSL_STYLES) + "/ieee.csl", "-t", "plain", "--wrap", "none",
                                        document},
                                       "");
  ASSERT_EQ(pandoc.status, 0) << pandoc.err;
  EXPECT_NE(pandoc.out.find("J. Smith, K. Jones, et al., \u201CHeat flow in the crust,\u201D"), std::string::npos)
      << pandoc.out;
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
