// The reference finder on lists as PDF viewers and extractors give them:
// which lines make each reference, and which are left out.
#include <gtest/gtest.h>

#include "reference/finder.h"
#include "tests/printable.h"

namespace tf::reference {
namespace {

using S = std::u16string;
using test::Printable;

struct Row {
  const char* name;
  S text;
  std::vector<S> references;  // each reference's text
  std::vector<S> leftOut;     // each run of lines left out, line ends included
};

void Check(const Row& row) {
  const FoundReferences found = FindReferences(row.text);
  std::vector<S> references, leftOut;
  for (const auto& r : found.references) references.push_back(r.Text(row.text));
  for (const auto& p : found.leftOut) leftOut.push_back(row.text.substr(p.begin, p.end - p.begin));
  EXPECT_EQ(references.size(), row.references.size()) << row.name;
  for (size_t k = 0; k < std::min(references.size(), row.references.size()); ++k)
    EXPECT_EQ(Printable(references[k]), Printable(row.references[k])) << row.name << ", reference " << k;
  EXPECT_EQ(leftOut.size(), row.leftOut.size()) << row.name;
  for (size_t k = 0; k < std::min(leftOut.size(), row.leftOut.size()); ++k)
    EXPECT_EQ(Printable(leftOut[k]), Printable(row.leftOut[k])) << row.name << ", left out " << k;
}

TEST(Finder, NumberedLists) {
  const std::vector<Row> rows = {
      {"numbers alone on their lines, each before its reference, are no column apart",
       u"(13) Brin, David. Earth. New York: Bantam, 1991.\n(14)\nDaly, A. (2016b). Private Power. (Hart).\n(15)\n"
       u"BONSOR G.\u2013E. \u2013 Expedicion arqueologica a lo largo del Guadalquivir, Ecija 1989, 133\n(16)\n"
       u"Wolfgang Jantzen: The problem of the will in the late work of Vygotskij. Human Ontogenetics 3 (2009) 2, 1-7, "
       u"http://onlinelibrary.wiley.com/doi/10.1002/huon.200900007/pdf\n(17)\nLeach, Edmund. 1964. Animal Categories. MIT Press.\n",
       {u"(13) Brin, David. Earth. New York: Bantam, 1991.", u"(14)\nDaly, A. (2016b). Private Power. (Hart).",
        u"(15)\nBONSOR G.\u2013E. \u2013 Expedicion arqueologica a lo largo del Guadalquivir, Ecija 1989, 133",
        u"(16)\nWolfgang Jantzen: The problem of the will in the late work of Vygotskij. Human Ontogenetics 3 (2009) 2, 1-7, "
        u"http://onlinelibrary.wiley.com/doi/10.1002/huon.200900007/pdf",
        u"(17)\nLeach, Edmund. 1964. Animal Categories. MIT Press."},
       {}},
      {"brackets, a heading, wrapped lines",
       u"References\n[1] M. A. Grant and P. F. Bixley, Geothermal Reservoir Engineering, 2nd ed.\nAcademic Press, 2011.\n"
       u"[2] J. R. Smith, \u201CFluid flow in frac-\ntured rock,\u201D Geothermics, vol. 38, pp. 1\u201312, 2009.\n",
       {u"[1] M. A. Grant and P. F. Bixley, Geothermal Reservoir Engineering, 2nd ed.\nAcademic Press, 2011.",
        u"[2] J. R. Smith, \u201CFluid flow in frac-\ntured rock,\u201D Geothermics, vol. 38, pp. 1\u201312, 2009."},
       {u"References\n"}},
      {"full stops: numbers inside a reference start none",
       u"1. Smith JR, Jones K. Effects of fluid flow. J Geophys Res. 2011;116(B4):\n115-22.\n"
       u"2. Brown P. Heat. Nature.\n2011. 12 pages.\n3. White A. Cold. Science. 2012;3:4.",
       {u"1. Smith JR, Jones K. Effects of fluid flow. J Geophys Res. 2011;116(B4):\n115-22.",
        u"2. Brown P. Heat. Nature.\n2011. 12 pages.", u"3. White A. Cold. Science. 2012;3:4."},
       {}},
      {"brackets round the number, from 12 on",
       u"(12) Smith, J. Heat flow. 2001.\n(13) Jones, K. Cold flow.\n2002.\n",
       {u"(12) Smith, J. Heat flow. 2001.", u"(13) Jones, K. Cold flow.\n2002."}, {}},
      {"a closing bracket", u"1) Smith, J. Heat flow. 2001.\n2) Jones, K. Cold flow. 2002.",
       {u"1) Smith, J. Heat flow. 2001.", u"2) Jones, K. Cold flow. 2002."}, {}},
      {"bare numbers", u"1 Smith, J. Heat flow. 2001.\n2 Jones, K. Cold flow. 2002.\n",
       {u"1 Smith, J. Heat flow. 2001.", u"2 Jones, K. Cold flow. 2002."}, {}},
      {"a page break inside a reference: page number and running head left out",
       u"[1] Smith, J. Heat flow in the Salton\n12\nJournal of Geothermal Research 72 (2011)\nTrough. 2001.\n"
       u"[2] Jones, K. Cold. 2002.\n13\nJournal of Geothermal Research 72 (2011)\n[3] Brown, P. Warm. 2003.\n",
       {u"[1] Smith, J. Heat flow in the Salton\nTrough. 2001.", u"[2] Jones, K. Cold. 2002.", u"[3] Brown, P. Warm. 2003."},
       {u"12\nJournal of Geothermal Research 72 (2011)\n", u"13\nJournal of Geothermal Research 72 (2011)\n"}},
      {"two years in front of lines far into an author\u2013year list are no numbering",
       u"Abbot, J. 1999. Hot rocks and how to find\nthem. Elsevier.\n"
       u"Allen, T. 2000. Drilling for steam in the\nsouth. Wiley.\n"
       u"Adams, P. 2001. Heat flow in the crust of the\nearth. Oxford University Press.\n"
       u"Brown, K. 2002. Cold flow in rocks of the\ndeep. Nature 3: 4-5.\n"
       u"Clark, L. 2003. Warm springs and their\nwaters. Science 5: 6-7.\n"
       u"Davis, M. 2004. Steam fields of the north\nisland. Geothermics 8: 9-10.\n"
       u"Evans, N. 2005. Brines in deep wells and\nhow they move. Water 1: 2-3.\n"
       u"Fox, O. 2006. Sinter terraces. Tübingen: Francke,\n1998.\n"
       u"Grant, Q. 2007. Reservoir models and their\nuse. Academic Press.\n"
       u"Hill, R. 2008. Fluid chemistry of wells at\nthe site. Springer, Berlin,\n1999.\n"
       u"Irwin, S. 2009. Cooling of magma. Wiley.\n",
       {u"Abbot, J. 1999. Hot rocks and how to find\nthem. Elsevier.", u"Allen, T. 2000. Drilling for steam in the\nsouth. Wiley.",
        u"Adams, P. 2001. Heat flow in the crust of the\nearth. Oxford University Press.",
        u"Brown, K. 2002. Cold flow in rocks of the\ndeep. Nature 3: 4-5.",
        u"Clark, L. 2003. Warm springs and their\nwaters. Science 5: 6-7.",
        u"Davis, M. 2004. Steam fields of the north\nisland. Geothermics 8: 9-10.",
        u"Evans, N. 2005. Brines in deep wells and\nhow they move. Water 1: 2-3.",
        u"Fox, O. 2006. Sinter terraces. Tübingen: Francke,\n1998.",
        u"Grant, Q. 2007. Reservoir models and their\nuse. Academic Press.",
        u"Hill, R. 2008. Fluid chemistry of wells at\nthe site. Springer, Berlin,\n1999.",
        u"Irwin, S. 2009. Cooling of magma. Wiley."},
       {}},
      {"a year alone ends the reference it follows",
       u"[22] H. Trocm\u00E9, La C\u00F4te atlantique, Presses universitaires de Nancy,\n1994\n[23] A. B. Other, Title, 1995.",
       {u"[22] H. Trocm\u00E9, La C\u00F4te atlantique, Presses universitaires de Nancy,\n1994", u"[23] A. B. Other, Title, 1995."},
       {}},
  };
  for (const auto& row : rows) Check(row);
}

// A page whose numbers an extractor wrote in a column of their own, all
// before the references' text, each reference a box of its own: more lines
// than one reference takes after the last number that opens text.
const S apartText =
    u"[3]\n\n[4]\n\n[5]\n\n[6]\n\n[7]\n\n[8]\n\n[9]\n\n"
    u"Kennedy, B. M. (2007). Flow of mantle fluids through the ductile lower crust.\nScience, 318, 1433\u20131436.\n\n"
    u"Brown, K. (2002). Cold flow in rocks of the deep and the shallow crust.\nNature, 3, 4\u20135.\n\n"
    u"Clark, L. (2003). Warm springs and their waters in the highlands.\nScience, 5, 6\u20137.\n\n"
    u"Davis, M. (2004). Steam fields of the north island and their wells.\nGeothermics, 8, 9\u201310.\n\n"
    u"Evans, N. (2005). Heat flow in the crust of the earth, a review.\nJournal of Geophysical Research, 110, 1\u201330.\n\n"
    u"Foster, O. (2006). Brines of the deep basins and their salts.\nChemical Geology, 12, 40\u201355.\n\n"
    u"Green, P. (2007). Wells that failed, and why they failed.\nGeothermics, 14, 2\u201318.\n";
const std::vector<S> apartReferences = {
    u"Kennedy, B. M. (2007). Flow of mantle fluids through the ductile lower crust.\nScience, 318, 1433\u20131436.",
    u"Brown, K. (2002). Cold flow in rocks of the deep and the shallow crust.\nNature, 3, 4\u20135.",
    u"Clark, L. (2003). Warm springs and their waters in the highlands.\nScience, 5, 6\u20137.",
    u"Davis, M. (2004). Steam fields of the north island and their wells.\nGeothermics, 8, 9\u201310.",
    u"Evans, N. (2005). Heat flow in the crust of the earth, a review.\nJournal of Geophysical Research, 110, 1\u201330.",
    u"Foster, O. (2006). Brines of the deep basins and their salts.\nChemical Geology, 12, 40\u201355.",
    u"Green, P. (2007). Wells that failed, and why they failed.\nGeothermics, 14, 2\u201318."};
const std::vector<S> apartLeftOut = {u"\n[3]\n\n[4]\n\n[5]\n\n[6]\n\n[7]\n\n[8]\n\n[9]\n\n", u"\n", u"\n", u"\n",
                                     u"\n", u"\n", u"\n"};

std::vector<S> Joined(std::vector<S> first, const std::vector<S>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST(Finder, AuthorYearLists) {
  const std::vector<Row> rows = {
      {"APA, wrapped, no blank lines",
       u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\n"
       u"Academic Press.\n"
       u"Kennedy, B. M., & van Soest, M. C. (2007). Flow of mantle fluids through the ductile\n"
       u"lower crust. Science, 318, 1433\u20131436.\n"
       u"Smith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312.\n",
       {u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.",
        u"Kennedy, B. M., & van Soest, M. C. (2007). Flow of mantle fluids through the ductile\nlower crust. Science, 318, "
        u"1433\u20131436.",
        u"Smith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312."},
       {}},
      {"a quotation opened and not closed goes on",
       u"MOORE, Michael S., Law and Psychiatry: Rethinking the\n"
       u"Relationship, Cambridge: Cambridge University Press, 1984.\n"
       u"Roberts, Brynley F. \u201CWhere\n"
       u"Were the Four Branches of the Mabinogi Written?\u201D In The Individual\n"
       u"in Celtic Literatures, edited by Joseph\n"
       u"Falaky Nagy, CSANA Yearbook 1 (2001): 61\u201373.\n",
       {u"MOORE, Michael S., Law and Psychiatry: Rethinking the\nRelationship, Cambridge: Cambridge University Press, 1984.",
        u"Roberts, Brynley F. \u201CWhere\nWere the Four Branches of the Mabinogi Written?\u201D In The Individual\n"
        u"in Celtic Literatures, edited by Joseph\nFalaky Nagy, CSANA Yearbook 1 (2001): 61\u201373."},
       {}},
      {"the editor after the title, and a particle at a line's end, go on",
       u"Husserl, Edmund. Husserliana 32. Natur und Geist: Vorlesungen Sommersemester 1927.\n"
       u"Edited by Michael Weiler. Dordrecht, Netherlands: Kluwer Academic Publishers, 2001.\n"
       u"Shoham, Y. (1988). Reasoning about Change. Cambridge, MA: MIT Press. van\n"
       u"Benthem, J. F. A. K. (1989). Semantic parallels in natural language and\n"
       u"computation.\n"
       u"Warren, D. H. D. (1976). Generating Conditional Plans and Programs. In\n"
       u"Proceedings of the Summer Conference on AI and Simulation of Behavior.\n",
       {u"Husserl, Edmund. Husserliana 32. Natur und Geist: Vorlesungen Sommersemester 1927.\n"
        u"Edited by Michael Weiler. Dordrecht, Netherlands: Kluwer Academic Publishers, 2001.",
        u"Shoham, Y. (1988). Reasoning about Change. Cambridge, MA: MIT Press. van\n"
        u"Benthem, J. F. A. K. (1989). Semantic parallels in natural language and\ncomputation.",
        u"Warren, D. H. D. (1976). Generating Conditional Plans and Programs. In\n"
        u"Proceedings of the Summer Conference on AI and Simulation of Behavior."},
       {}},
      {"Vancouver names that wrap go on",
       u"Smith JR, Jones\nKL, Brown P. Effects. J Geophys Res. 2011;116:1-12.\nWhite A, Black B. Causes. Nature. 2012;1:2.",
       {u"Smith JR, Jones\nKL, Brown P. Effects. J Geophys Res. 2011;116:1-12.", u"White A, Black B. Causes. Nature. 2012;1:2."},
       {}},
      {"blank lines between, CR LF",
       u"Smith, J., 2001. Heat flow.\r\n\r\nJones, K., 2002. Cold flow in\r\nrocks.\r\n",
       {u"Smith, J., 2001. Heat flow.", u"Jones, K., 2002. Cold flow in\r\nrocks."}, {u"\r\n"}},
      {"a blank line where the reference plainly goes on",
       u"Smith, J., 2001. Heat flow in the\n\nSalton Trough. Geothermics 1, 2.",
       {u"Smith, J., 2001. Heat flow in the\nSalton Trough. Geothermics 1, 2."}, {u"\n"}},
      {"the dash that repeats the authors, CR alone",
       u"Foucault, M., 1966. Les mots et les choses. Gallimard.\r\u2014\u2014\u2014, 1969. L\u2019arch\u00E9ologie du savoir. "
       u"Gallimard.",
       {u"Foucault, M., 1966. Les mots et les choses. Gallimard.", u"\u2014\u2014\u2014, 1969. L\u2019arch\u00E9ologie du savoir. Gallimard."},
       {}},
      {"a form feed and a page number between pages",
       u"Smith, J., 2001. Heat flow in the Salton\n\fTrough. Geothermics 1, 2.\nJones, K., 2002. Cold.\n- 7 -\n",
       {u"Smith, J., 2001. Heat flow in the Salton\nTrough. Geothermics 1, 2.", u"Jones, K., 2002. Cold."},
       {u"\f", u"- 7 -\n"}},
      {"a reference that ends in a state's abbreviation",
       u"Pruess, K., 1991. TOUGH2. Report LBL-29400, Lawrence Berkeley Laboratory, Berkeley, CA.\n"
       u"Rowland, J.V., Sibson, R.H., 2004. Structural controls. Geofluids 4, 259\u2013283.",
       {u"Pruess, K., 1991. TOUGH2. Report LBL-29400, Lawrence Berkeley Laboratory, Berkeley, CA.",
        u"Rowland, J.V., Sibson, R.H., 2004. Structural controls. Geofluids 4, 259\u2013283."},
       {}},
      {"given name first, then a colon",
       u"Angeli, Roberto. Vangelo nei lager: Un prete nella Resistenza. Firenze: La Nuova Italia, 1965.\n"
       u"Wolfgang Jantzen: Gesundheit als Lebenswert in der sozialistischen Gesellschaft, Vortrag auf dem\n"
       u"7. Kongress der Gesellschaft f\u00FCr Psychologie der DDR, Leipzig 1988.\n"
       u"Brown, P., 2003. Warm. Science 5, 6.",
       {u"Angeli, Roberto. Vangelo nei lager: Un prete nella Resistenza. Firenze: La Nuova Italia, 1965.",
        u"Wolfgang Jantzen: Gesundheit als Lebenswert in der sozialistischen Gesellschaft, Vortrag auf dem\n"
        u"7. Kongress der Gesellschaft f\u00FCr Psychologie der DDR, Leipzig 1988.",
        u"Brown, P., 2003. Warm. Science 5, 6."},
       {}},
      {"many lines joined by the extractor, longer than the wrapped ones, do not hide the width the text was wrapped at",
       u"Carson, R. (1962). Silent spring, the book that began a movement for the land and the water.\n"
       u"Boston: Houghton Mifflin.\n"
       u"LeBlanc, M., & Tibshirani, R. (1993). Combining estimates in regression and classification. Tech.\n"
       u"rep., Department of Statistics, University of Toronto.\n"
       u"Gurke, K. (1987). Bricks and brick making: A handbook for historical archaeology. Moscow: The University of Idaho Press.\n"
       u"Wong, A. M., Reid, A. M., & Hall, S. A. (1994). The subsurface character of the crater in\n"
       u"Leon County, Texas. Meteoritics, 29, 552-553.\n"
       u"Anault, M. (2003). La resilience, surmonter les traumatismes. Paris: Nathan, with a long subtitle that the extractor joined to it.\n"
       u"Feldman, V., & Sazonova, L. (1995). Diaplectic transformation peculiarities of minerals in\n"
       u"the rocks of an astrobleme. Vernadsky-Brown Microsymposium, 22, 16-17.\n"
       u"Liu, Y., Su, C., Song, X., Tang, Y., & Bao, Z. (2009). Construction of a yeast strain expressing a plasminogen activator from the vampire bat, read as one line by the extractor. Chinese Journal of Biotechnology, 25(4), 566-574.\n"
       u"Dove, R. (1998). Lady freedom among us. The Electronic Journal of Scholarly Publishing, 4(1), 12-19, and a note on its history in full.\n"
       u"Green, B. (2012). Renovation and green agenda support weak construction activity across Europe. Building, 6, 1-3.\n"
       u"Vetter, H. (2007). Heideggers Destruktion der Tradition am Beispiel des Aristoteles. Jahrbuch,\n"
       u"3, 77-95.\n",
       {u"Carson, R. (1962). Silent spring, the book that began a movement for the land and the water.\nBoston: Houghton Mifflin.",
        u"LeBlanc, M., & Tibshirani, R. (1993). Combining estimates in regression and classification. Tech.\nrep., Department of Statistics, University of Toronto.",
        u"Gurke, K. (1987). Bricks and brick making: A handbook for historical archaeology. Moscow: The University of Idaho Press.",
        u"Wong, A. M., Reid, A. M., & Hall, S. A. (1994). The subsurface character of the crater in\nLeon County, Texas. Meteoritics, 29, 552-553.",
        u"Anault, M. (2003). La resilience, surmonter les traumatismes. Paris: Nathan, with a long subtitle that the extractor joined to it.",
        u"Feldman, V., & Sazonova, L. (1995). Diaplectic transformation peculiarities of minerals in\nthe rocks of an astrobleme. Vernadsky-Brown Microsymposium, 22, 16-17.",
        u"Liu, Y., Su, C., Song, X., Tang, Y., & Bao, Z. (2009). Construction of a yeast strain expressing a plasminogen activator from the vampire bat, read as one line by the extractor. Chinese Journal of Biotechnology, 25(4), 566-574.",
        u"Dove, R. (1998). Lady freedom among us. The Electronic Journal of Scholarly Publishing, 4(1), 12-19, and a note on its history in full.",
        u"Green, B. (2012). Renovation and green agenda support weak construction activity across Europe. Building, 6, 1-3.",
        u"Vetter, H. (2007). Heideggers Destruktion der Tradition am Beispiel des Aristoteles. Jahrbuch,\n3, 77-95."},
       {}},
      {"numbers read as a column apart from the references are left out",
       u"1.\n2.\n\n3.\nSmith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312.\n"
       u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.\n"
       u"Kennedy, B. M. (2007). Flow of mantle fluids. Science, 318, 1433\u20131436.\n",
       {u"Smith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312.",
        u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.",
        u"Kennedy, B. M. (2007). Flow of mantle fluids. Science, 318, 1433\u20131436."},
       {u"1.\n2.\n\n3.\n"}},
      {"numbers apart on the first page, beside their references on the next",
       u"1.\n2.\n3.\nSmith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312.\n"
       u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.\n"
       u"Kennedy, B. M. (2007). Flow of mantle fluids. Science, 318, 1433\u20131436.\n"
       u"4. Brown, K. (2002). Cold flow in rocks. Nature,\n3, 4\u20135.\n5. Clark, L. (2003). Warm springs. Science, 5, 6\u20137.\n",
       {u"Smith, J. R. (2009). Fluid flow. Geothermics, 38(1), 1\u201312.",
        u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.",
        u"Kennedy, B. M. (2007). Flow of mantle fluids. Science, 318, 1433\u20131436.",
        u"4. Brown, K. (2002). Cold flow in rocks. Nature,\n3, 4\u20135.", u"5. Clark, L. (2003). Warm springs. Science, 5, 6\u20137."},
       {u"1.\n2.\n3.\n"}},
      {"numbers beside their references on the first page, apart on the next",
       u"[1] Smith, J. R. (2009). Fluid flow in the crust. Geothermics, 38(1), 1\u201312.\n"
       u"[2] Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.\n\n" +
           apartText,
       Joined({u"[1] Smith, J. R. (2009). Fluid flow in the crust. Geothermics, 38(1), 1\u201312.",
               u"[2] Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press."},
              apartReferences),
       apartLeftOut},
      {"the last number alone on its line, then its reference, before references whose numbers were read apart",
       u"[1] Smith, J. R. (2009). Fluid flow in the crust. Geothermics, 38(1), 1\u201312.\n[2]\n"
       u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press.\n\n" +
           apartText,
       Joined({u"[1] Smith, J. R. (2009). Fluid flow in the crust. Geothermics, 38(1), 1\u201312.",
               u"[2]\nGrant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\nAcademic Press."},
              apartReferences),
       apartLeftOut},
      {"a blank line after every line, where words broken at a line's end go on after some, parts nothing",
       u"Tona, F., Alonso, D. and Svab, M., Geology and mineralization in the Carswell structure. Geologi-\n\n"
       u"cal Association of Canada, Special Paper 29, pp. 1-18. 1985.\n\n"
       u"Prout, Alan. The Future of Childhood: Towards the Interdisciplinary Study of Children. Rout-\n\n"
       u"ledgeFalmer, 2005.\n\n"
       u"Yang J, Kloepper JW, Ryu CM. 2009. Rhizosphere bacteria help plants tolerate abiotic stress.\n\n"
       u"Trends in Plant Science 14: 1\u20134.\n\n"
       u"Levi-Strauss, Claude (1982) The Way of the Masks. Seattle: U. Washington Press.\n\n"
       u"Kehr J, Buhtz A, Giavalisco P. 2005. Analysis of xylem sap proteins from Brassica napus.\n\n"
       u"BMC Plant Biology 5: 11.\n",
       {u"Tona, F., Alonso, D. and Svab, M., Geology and mineralization in the Carswell structure. Geologi-\n"
        u"cal Association of Canada, Special Paper 29, pp. 1-18. 1985.",
        u"Prout, Alan. The Future of Childhood: Towards the Interdisciplinary Study of Children. Rout-\nledgeFalmer, 2005.",
        u"Yang J, Kloepper JW, Ryu CM. 2009. Rhizosphere bacteria help plants tolerate abiotic stress.\n"
        u"Trends in Plant Science 14: 1\u20134.",
        u"Levi-Strauss, Claude (1982) The Way of the Masks. Seattle: U. Washington Press.",
        u"Kehr J, Buhtz A, Giavalisco P. 2005. Analysis of xylem sap proteins from Brassica napus.\nBMC Plant Biology 5: 11."},
       {u"\n", u"\n", u"\n", u"\n", u"\n", u"\n", u"\n", u"\n"}},
      {"a blank line after half the lines or more, where words broken at a line's end go on after some, parts nothing",
       u"Geddes, K., Czapor, S., and Labahn, G. Algorithms for Computer Algebra. Kluwer Academic\n\n"
       u"Publishers, Boston, 1992.\n\n"
       u"Zaragoza, Edward C., No Longer Servants But Friends: A Theology of Ordained Ministry, Nash-\n\n"
       u"ville: Abingdon, 1999.\n"
       u"Tona, F., Alonso, D. and Svab, M., Geology and mineralization in the Carswell structure. Geologi-\n\n"
       u"cal Association of Canada, Special Paper 29, pp. 1-18. 1985.\n"
       u"Yang J, Kloepper JW, Ryu CM. 2009. Rhizosphere bacteria help plants tolerate abiotic stress.\n"
       u"Trends in Plant Science 14: 1-4.\n",
       {u"Geddes, K., Czapor, S., and Labahn, G. Algorithms for Computer Algebra. Kluwer Academic\nPublishers, Boston, 1992.",
        u"Zaragoza, Edward C., No Longer Servants But Friends: A Theology of Ordained Ministry, Nash-\nville: Abingdon, 1999.",
        u"Tona, F., Alonso, D. and Svab, M., Geology and mineralization in the Carswell structure. Geologi-\n"
        u"cal Association of Canada, Special Paper 29, pp. 1-18. 1985.",
        u"Yang J, Kloepper JW, Ryu CM. 2009. Rhizosphere bacteria help plants tolerate abiotic stress.\n"
        u"Trends in Plant Science 14: 1-4."},
       {u"\n", u"\n", u"\n", u"\n"}},
      {"a blank line after a line that ran to the margin, before one that opens like no reference, parts nothing",
       u"Green, J. S., and J. T. Flinders. 1980. Brachylagus idahoensis. Mammalian\n\nSpecies 125: 1\u20134.\n\n"
       u"Coughenour, M. B., and F. J. Singer. 1996. Elk population processes in\nYellowstone National Park. Ecology 6: 573\u2013593.\n\n"
       u"Volterra, Vito. 1926. Variazioni e fluttuazioni del numero d\u2019individui\nin specie animali conviventi. Memorie 2: 31\u2013113.\n",
       {u"Green, J. S., and J. T. Flinders. 1980. Brachylagus idahoensis. Mammalian\nSpecies 125: 1\u20134.",
        u"Coughenour, M. B., and F. J. Singer. 1996. Elk population processes in\nYellowstone National Park. Ecology 6: 573\u2013593.",
        u"Volterra, Vito. 1926. Variazioni e fluttuazioni del numero d\u2019individui\nin specie animali conviventi. Memorie 2: 31\u2013113."},
       {u"\n", u"\n", u"\n"}},
      {"one reference a line, some about as long as one another",
       u"DUPONT, Jean-Luc de. Les sources thermales de la r\u00E9gion. Paris: Masson, 1902.\n"
       u"International Energy Agency. (2019). World energy outlook 2019. IEA.\n"
       u"OpenStreetMap contributors. (2017). Planet dump. Retrieved from https://planet.osm.org\n"
       u"Stober, I. (Ed.), 2013. Geothermal energy. Springer, Berlin.\n"
       u"M\u00FCller, K. (Hrsg.) (2005). Handbuch der Geothermie. Berlin: Springer.\n"
       u"Dupont, J. (dir.) (2001). Les volcans. Paris: Belin.\n"
       u"Zhang, Y. et al. (2018). Catalysis by gold. Angew. Chem. Int. Ed. 57, 2231-45.\n"
       u"Li, X. (2020). Slip on faults. Geophysical Research Letters, 47, e2020GL088123. https://doi.org/10.1029/2020GL088123\n"
       u"(5) Grant MA, Bixley PF. Geothermal reservoir engineering. 2nd ed. Academic Press; 2011.\n"
       u"Jones, K. (2019). Geothermal energy. Paper presented at the World Geothermal Congress, Melbourne, Australia, 19\u201325 April 2015.\n",
       {
        u"DUPONT, Jean-Luc de. Les sources thermales de la r\u00E9gion. Paris: Masson, 1902.",
        u"International Energy Agency. (2019). World energy outlook 2019. IEA.",
        u"OpenStreetMap contributors. (2017). Planet dump. Retrieved from https://planet.osm.org",
        u"Stober, I. (Ed.), 2013. Geothermal energy. Springer, Berlin.",
        u"M\u00FCller, K. (Hrsg.) (2005). Handbuch der Geothermie. Berlin: Springer.",
        u"Dupont, J. (dir.) (2001). Les volcans. Paris: Belin.",
        u"Zhang, Y. et al. (2018). Catalysis by gold. Angew. Chem. Int. Ed. 57, 2231-45.",
        u"Li, X. (2020). Slip on faults. Geophysical Research Letters, 47, e2020GL088123. https://doi.org/10.1029/2020GL088123",
        u"(5) Grant MA, Bixley PF. Geothermal reservoir engineering. 2nd ed. Academic Press; 2011.",
        u"Jones, K. (2019). Geothermal energy. Paper presented at the World Geothermal Congress, Melbourne, Australia, 19\u201325 April 2015."},
       {}},
      {"a line an extractor joined where a word was broken ended early if its second part did",
       u"Bracher, M. (1993). Lacan, discourse and social change: A psychoanalytic cultural criticism.\n"
       u"Ithaca, New York: Cornell University Press.\n"
       u"A.F. Aguilar, Enforcing the Right to a Healthy Environment in Latin America, 3 Review of European Community and International Law 215 (1994).\n"
       u"The social life of things: commodities in cultural perspective, Cambridge University Press, Cambridge 1988\n"
       u"Kempner, J. C., & David, L. P. (2004). Flow in the deep waters of the southern ocean. Journal of\n"
       u"Marine Research, 12, 385-390.\n"
       u"Lampert, D. J., & Reible, D. (2009). An analytical modeling approach for evaluation of capping\n"
       u"of contaminated sediments. Soil and Sediment Contamination, 18(4), 470-488.\n"
       u"Norris, J. L., & Pollock, K. H. (1996). Nonparametric MLE under two closed capture recapture\n"
       u"models with heterogeneity. Biometrics, 52, 639-649.\n"
       u"Wood, B. D., & Waterman, R. W. (1994). Bureaucratic dynamics: The role of bureaucracy in a\n"
       u"democracy. Boulder, CO: Westview Press.\n",
       {u"Bracher, M. (1993). Lacan, discourse and social change: A psychoanalytic cultural criticism.\n"
        u"Ithaca, New York: Cornell University Press.",
        u"A.F. Aguilar, Enforcing the Right to a Healthy Environment in Latin America, 3 Review of European Community and International Law 215 (1994).",
        u"The social life of things: commodities in cultural perspective, Cambridge University Press, Cambridge 1988",
        u"Kempner, J. C., & David, L. P. (2004). Flow in the deep waters of the southern ocean. Journal of\n"
        u"Marine Research, 12, 385-390.",
        u"Lampert, D. J., & Reible, D. (2009). An analytical modeling approach for evaluation of capping\n"
        u"of contaminated sediments. Soil and Sediment Contamination, 18(4), 470-488.",
        u"Norris, J. L., & Pollock, K. H. (1996). Nonparametric MLE under two closed capture recapture\n"
        u"models with heterogeneity. Biometrics, 52, 639-649.",
        u"Wood, B. D., & Waterman, R. W. (1994). Bureaucratic dynamics: The role of bureaucracy in a\n"
        u"democracy. Boulder, CO: Westview Press."},
       {}},
      {"lines an extractor joined where a word was broken set no width",
       u"Abbot, J., 1999. Hot rocks and how to find them in the\nfield and in the laboratory, with a chapter on the rocks of the south. Elsevier.\n"
       u"Allen, T., 2000. Drilling for steam in the south of the\nisland and in the north of the country. Wiley.\n"
       u"Adams, P., 2001. Heat flow in the crust of the earth, a\nreview of the measurements made in boreholes of the southern hemisphere. Oxford.\n"
       u"Brown, K., 2002. Cold flow in rocks of the deep, Proc. 86\nSymposium on Rocks, Nature 3: 4-5, May 2002.\n"
       u"Clark, L., 2003. Warm springs and their waters of the\nhighlands and the coastal plains of the southern provinces. Science 5: 6-7.\n"
       u"Davis, M., 2004. Steam fields of the north island and\ntheir wells and the steam they gave in the first ten years. Geothermics 8: 9-10.\n",
       {u"Abbot, J., 1999. Hot rocks and how to find them in the\nfield and in the laboratory, with a chapter on the rocks of the south. Elsevier.",
        u"Allen, T., 2000. Drilling for steam in the south of the\nisland and in the north of the country. Wiley.",
        u"Adams, P., 2001. Heat flow in the crust of the earth, a\nreview of the measurements made in boreholes of the southern hemisphere. Oxford.",
        u"Brown, K., 2002. Cold flow in rocks of the deep, Proc. 86\nSymposium on Rocks, Nature 3: 4-5, May 2002.",
        u"Clark, L., 2003. Warm springs and their waters of the\nhighlands and the coastal plains of the southern provinces. Science 5: 6-7.",
        u"Davis, M., 2004. Steam fields of the north island and\ntheir wells and the steam they gave in the first ten years. Geothermics 8: 9-10."},
       {}},
      {"where a reference was found, or its last pages, open no reference",
       u"Lovewell-Tuck, D. (2013, September 30). McDonald\u2019s Restaurants built on motivation.\n"
       u"Retrieved 3 August 2017, from https://www.employeebenefits.co.uk/issues/motivation.\n"
       u"Abbott KW, Snidal D (2009) The Governance Triangle. In: Mattli W, Woods N (eds) The Politics of Global Regulation, pp.\n"
       u"44\u201388. Princeton University Press, Princeton, NJ\n"
       u"Pickrell, T. M., & Ye, T. J. (2013, March). Driver Electronic Device Use in 2011. (Report No. DOT HS 811\n"
       u"719). Washington, DC: National Highway Traffic Safety Administration.\n",
       {u"Lovewell-Tuck, D. (2013, September 30). McDonald\u2019s Restaurants built on motivation.\n"
        u"Retrieved 3 August 2017, from https://www.employeebenefits.co.uk/issues/motivation.",
        u"Abbott KW, Snidal D (2009) The Governance Triangle. In: Mattli W, Woods N (eds) The Politics of Global Regulation, pp.\n"
        u"44\u201388. Princeton University Press, Princeton, NJ",
        u"Pickrell, T. M., & Ye, T. J. (2013, March). Driver Electronic Device Use in 2011. (Report No. DOT HS 811\n"
        u"719). Washington, DC: National Highway Traffic Safety Administration."},
       {}},
      {"a number that is no year, then small letters, goes on; so does where it was consulted",
       u"Eberwein, H., 1998. Stellungnahme zur Entscheidung des Bundesverfassungsgerichts vom 8.10.\n"
       u"97 \u00FCber die Verfassungsbeschwerde einer Sch\u00FClerin. Info-Dienst 9, 3-8.\n"
       u"Ng, A., 2011. Stanford Machine Learning Course. Regularization and Bias Variance.\n"
       u"Consulted: May 2014, https://www.youtube.com/watch?v=yzS8bl75FV0\n",
       {u"Eberwein, H., 1998. Stellungnahme zur Entscheidung des Bundesverfassungsgerichts vom 8.10.\n"
        u"97 \u00FCber die Verfassungsbeschwerde einer Sch\u00FClerin. Info-Dienst 9, 3-8.",
        u"Ng, A., 2011. Stanford Machine Learning Course. Regularization and Bias Variance.\n"
        u"Consulted: May 2014, https://www.youtube.com/watch?v=yzS8bl75FV0"},
       {}},
      {"a link on a line of its own goes on, with its scheme or without",
       u"Marshall, Monty G. 2011. \u201CPolity IV Project: Dataset Users\u2019 Manual.\u201D Center for Systemic Peace.\n"
       u"www.systemicpeace.org.\n"
       u"Smith, J. 2012. Heat flow in the crust of the earth. Geothermal Resources Council.\n"
       u"https://www.geothermal.org/heat-flow.html\n",
       {u"Marshall, Monty G. 2011. \u201CPolity IV Project: Dataset Users\u2019 Manual.\u201D Center for Systemic Peace.\n"
        u"www.systemicpeace.org.",
        u"Smith, J. 2012. Heat flow in the crust of the earth. Geothermal Resources Council.\n"
        u"https://www.geothermal.org/heat-flow.html"},
       {}},
      {"\"In\" and the book, or a date's month and year, open no reference",
       u"Weigend, A. (1993). Measuring the effective number of dimensions during backpropagation training.\n"
       u"In Proceedings of the 1993 Connectionist Models Summer School, pp. 335-342. Morgan Kaufmann.\n"
       u"Pediatricians Wanted. Houston Chronicle, July 27, 2006, http://www.chron.com/disp/story.mpl, accessed 26\n"
       u"October 2006.\n",
       {u"Weigend, A. (1993). Measuring the effective number of dimensions during backpropagation training.\n"
        u"In Proceedings of the 1993 Connectionist Models Summer School, pp. 335-342. Morgan Kaufmann.",
        u"Pediatricians Wanted. Houston Chronicle, July 27, 2006, http://www.chron.com/disp/story.mpl, accessed 26\n"
        u"October 2006."},
       {}},
      {"a publisher's letters, more than a name's initials, end a reference",
       u"Goldsmith, John. 1990. Autosegmental licensing. In Ellen Kaisse and\n"
       u"Charles Kisseberth (eds), Perspectives in phonology, 81-112. Stanford: C.S.L.I.\n"
       u"Berthold-Bond, Daniel. \u201CThe Ethics of \u2018Place\u2019: Reflections on Bioregionalism.\u201D\n"
       u"Environmental Ethics 22 (2000): 5-24.\n",
       {u"Goldsmith, John. 1990. Autosegmental licensing. In Ellen Kaisse and\n"
        u"Charles Kisseberth (eds), Perspectives in phonology, 81-112. Stanford: C.S.L.I.",
        u"Berthold-Bond, Daniel. \u201CThe Ethics of \u2018Place\u2019: Reflections on Bioregionalism.\u201D\n"
        u"Environmental Ethics 22 (2000): 5-24."},
       {}},
      {"a line that ends in a word no reference ends with goes on",
       u"Mias, C. (2014). Implication professionnelle. Dans\nA. Jorro, Dictionnaire des concepts (pp. 161-164). De Boeck.\n"
       u"Smith, J., 2001. Heat flow. Retrieved from\nHttp Archive, Geothermics 1, 2.\n",
       {u"Mias, C. (2014). Implication professionnelle. Dans\nA. Jorro, Dictionnaire des concepts (pp. 161-164). De Boeck.",
        u"Smith, J., 2001. Heat flow. Retrieved from\nHttp Archive, Geothermics 1, 2."},
       {}},
      {"headings in other languages and \u201C(continued)\u201D",
       u"Literaturverzeichnis\nM\u00FCller, K., 2001. W\u00E4rme.\nReferences (continued)\nSchmidt, A., 2003. K\u00E4lte.",
       {u"M\u00FCller, K., 2001. W\u00E4rme.", u"Schmidt, A., 2003. K\u00E4lte."},
       {u"Literaturverzeichnis\n", u"References (continued)\n"}},
  };
  for (const auto& row : rows) Check(row);
}

// Where a list crosses a page: what belongs to the page, and what to the
// reference the page broke.
TEST(Finder, PageBreaks) {
  const std::vector<Row> rows = {
      {"a count of pages waits for no page: the number after it is the page's",
       u"(20) Hilbert, Richard, 1992, The classical roots of Ethnomethodology,\n"
       u"Chapel Hill, The University of North Carolina Press, 275 p.\n103\n"
       u"(21) Jones, K., 2002. Cold flow in rocks. Nature 3, 4.\n",
       {u"(20) Hilbert, Richard, 1992, The classical roots of Ethnomethodology,\n"
        u"Chapel Hill, The University of North Carolina Press, 275 p.",
        u"(21) Jones, K., 2002. Cold flow in rocks. Nature 3, 4."},
       {u"103\n"}},
      {"a page after a year and a bare p, and the last page after a doubled dash",
       u"8) Mwaikela, Happiness \u201CRemmy Hangaika\u201D Lete Raha May 7-13, 2000 p\n9\n"
       u"9) Burgers, C. \u201CFinding Irony.\u201D Metaphor and Symbol 26.3 (2011): 186\u2013-\n205\n"
       u"10) Jones, K., 2002. Cold flow in rocks. Nature 3, 4.\n",
       {u"8) Mwaikela, Happiness \u201CRemmy Hangaika\u201D Lete Raha May 7-13, 2000 p\n9",
        u"9) Burgers, C. \u201CFinding Irony.\u201D Metaphor and Symbol 26.3 (2011): 186\u2013-\n205",
        u"10) Jones, K., 2002. Cold flow in rocks. Nature 3, 4."},
       {}},
      {"a DOI's end and an issue of a year are no page of pages",
       u"5. Moustakas, C. (1994). Phenomenological research methods. Sage. doi:10.413-\n5/9781412995658\n"
       u"6. Preuss-Lausitz, U. (2005). Rezensionen. Die Deutsche Schule, 97. Jg., H.\n3/2005\n"
       u"7. Jones, K., 2002. Cold flow in rocks. Nature 3, 4.\n",
       {u"5. Moustakas, C. (1994). Phenomenological research methods. Sage. doi:10.413-\n5/9781412995658",
        u"6. Preuss-Lausitz, U. (2005). Rezensionen. Die Deutsche Schule, 97. Jg., H.\n3/2005",
        u"7. Jones, K., 2002. Cold flow in rocks. Nature 3, 4."},
       {}},
      {"lines of numbers alike are no running head",
       u"8) R.H. Glazier, J. Bajcar, N.R. Kennie, K. Willson A systematic review of interventions\n"
       u"to improve diabetes care in socially disadvantaged populations Diabetes Care, 29\n(2006), pp. 1675-1688\n"
       u"9) Jones, K., 2002. Cold flow in rocks. Nature 3, 4.\n"
       u"10) T.D. Agurs-Collins, S.K. Kumanyika A randomized controlled trial of weight reduction\n"
       u"and exercise for diabetes management in older subjects Diabetes Care, 20\n(1997), pp. 1503-1511\n",
       {u"8) R.H. Glazier, J. Bajcar, N.R. Kennie, K. Willson A systematic review of interventions\n"
        u"to improve diabetes care in socially disadvantaged populations Diabetes Care, 29\n(2006), pp. 1675-1688",
        u"9) Jones, K., 2002. Cold flow in rocks. Nature 3, 4.",
        u"10) T.D. Agurs-Collins, S.K. Kumanyika A randomized controlled trial of weight reduction\n"
        u"and exercise for diabetes management in older subjects Diabetes Care, 20\n(1997), pp. 1503-1511"},
       {}},
      {"a layout's head, its page number at the margin, seen once",
       u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n"
       u"      283\u2013291.\n"
       u"Journal of Geothermal Research 13 (2017)                          2\n"
       u"Bertani, R., 2016. Geothermal power generation in the world. Geothermics 60,\n"
       u"      31\u201343.\n",
       {u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n      283\u2013291.",
        u"Bertani, R., 2016. Geothermal power generation in the world. Geothermics 60,\n      31\u201343."},
       {u"Journal of Geothermal Research 13 (2017)                          2\n"}},
      {"a journal's foot with its address at the margin, seen once",
       u"Axelsson, G.: Sustainable geothermal utilization, Geothermics, 39,\n283\u2013291, 2010.\n"
       u"Geosci. Model Dev., 12, 1\u201320, 2019                     www.geosci-model-dev.net/12/1/2019/\n"
       u"Bertani, R.: Geothermal power generation in the world, Geothermics, 60,\n31\u201343, 2016.\n",
       {u"Axelsson, G.: Sustainable geothermal utilization, Geothermics, 39,\n283\u2013291, 2010.",
        u"Bertani, R.: Geothermal power generation in the world, Geothermics, 60,\n31\u201343, 2016."},
       {u"Geosci. Model Dev., 12, 1\u201320, 2019                     www.geosci-model-dev.net/12/1/2019/\n"}},
      {"a running head seen once, after the page number",
       u"[1] Smith, J., 2001. Heat flow. Geothermics 1, 2.\n12\nJournal of Geothermal Research 72 (2011)\n"
       u"[2] Jones, K., 2002. Cold flow in\nrocks. Nature 3, 4.\n",
       {u"[1] Smith, J., 2001. Heat flow. Geothermics 1, 2.", u"[2] Jones, K., 2002. Cold flow in\nrocks. Nature 3, 4."},
       {u"12\nJournal of Geothermal Research 72 (2011)\n"}},
      {"a journal's foot of the page, before the page number",
       u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n283\u2013291.\n"
       u"Journal of Volcanology and Geothermal Research 412 (2021) 107185\n14\n"
       u"Bertani, R., 2016. Geothermal power generation in the world. Geothermics 60,\n31\u201343.\n",
       {u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n283\u2013291.",
        u"Bertani, R., 2016. Geothermal power generation in the world. Geothermics 60,\n31\u201343."},
       {u"Journal of Volcanology and Geothermal Research 412 (2021) 107185\n14\n"}},
      {"a reference's last line before a page number stays, its full stop after the pages",
       u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n283\u2013291.\n"
       u"Bertani, R., 2016. Geothermal power generation in the world.\nGeothermics 60 (2016) 31\u201343.\n14\n"
       u"Brown, P., 2003. Warm. Science 5, 6.\n",
       {u"Axelsson, G., 2010. Sustainable geothermal utilization. Geothermics 39,\n283\u2013291.",
        u"Bertani, R., 2016. Geothermal power generation in the world.\nGeothermics 60 (2016) 31\u201343.",
        u"Brown, P., 2003. Warm. Science 5, 6."},
       {u"14\n"}},
      {"the last page of a range on a line of its own",
       u"1. Reiser, H.: Lernen. In: Portele, G.: Hochschule. Weinheim 1995, S. 101 -\n116\n"
       u"2. Jantzen, W.: Gesundheit. Leipzig 1988, S. 5 \u2013\n17\n",
       {u"1. Reiser, H.: Lernen. In: Portele, G.: Hochschule. Weinheim 1995, S. 101 -\n116",
        u"2. Jantzen, W.: Gesundheit. Leipzig 1988, S. 5 \u2013\n17"},
       {}},
      {"a page number inside a word broken at the page's end is still a page number",
       u"[1] Smith, J., 2001. Heat flow in frac-\n12\ntured rock. Geothermics 1, 2.\n[2] Jones, K., 2002. Cold.\n",
       {u"[1] Smith, J., 2001. Heat flow in frac-\ntured rock. Geothermics 1, 2.", u"[2] Jones, K., 2002. Cold."},
       {u"12\n"}},
      {"a reference cited twice is no running head",
       u"[1] Ravis-Giordani, G., 1994: Bergers\ntranshumants corses. Grenoble,\n125-130. [Mag sciences: USG 11052 ]\n"
       u"[2] Ravis-Giordani, G., 1994: Bergers\ntranshumants corses. Grenoble,\n125-130. [Mag sciences: USG 11052 ]\n",
       {u"[1] Ravis-Giordani, G., 1994: Bergers\ntranshumants corses. Grenoble,\n125-130. [Mag sciences: USG 11052 ]",
        u"[2] Ravis-Giordani, G., 1994: Bergers\ntranshumants corses. Grenoble,\n125-130. [Mag sciences: USG 11052 ]"},
       {}},
      {"a reference cited twice, its lines as long as the others, is no running head",
       u"(6) Bakshi, B.K. 1951. Fungi in the nest of termites\n|Odontotermes obesus.| Indian phytopathol. 4 (1): 1-4\n"
       u"(7) Bakshi, B.K. 1951. Fungi in the nest of termites\n|Odontotermes obesus.| Indian phytopathol. 4 (1): 1-4\n",
       {u"(6) Bakshi, B.K. 1951. Fungi in the nest of termites\n|Odontotermes obesus.| Indian phytopathol. 4 (1): 1-4",
        u"(7) Bakshi, B.K. 1951. Fungi in the nest of termites\n|Odontotermes obesus.| Indian phytopathol. 4 (1): 1-4"},
       {}},
      {"a running head seen once, first after a form feed, its page number at the end",
       u"[21] Barker, F.G. The outcome of decompression. N Engl J Med. 1996; 334:\n1077\u20131083\n"
       u"\fJournal of Geothermal Research 89 (2013) 2\n[22] Guastella AJ. Oxytocin. Biol Psychiatry. 2010;67:692-4.\n",
       {u"[21] Barker, F.G. The outcome of decompression. N Engl J Med. 1996; 334:\n1077\u20131083",
        u"[22] Guastella AJ. Oxytocin. Biol Psychiatry. 2010;67:692-4."},
       {u"\fJournal of Geothermal Research 89 (2013) 2\n"}},
      {"the first line of a reference cited twice, ending in a number, is no running head",
       u"Helmuth Vetter: Heideggers Destruktion der Tradition am Beispiel des Aristoteles, in: HJb 3\n(2007) 77-95.\n"
       u"Coughenour, M. B., and F. J. Singer. 1996. Elk population processes in Yellowstone National Park under the policy of natural regulation. Ecological Applications 6: 573-593.\n"
       u"Gurke, Karl 1987 Bricks and Brick Making: A Handbook for Historical Archaeology. The University of Idaho Press.\n"
       u"Helmuth Vetter: Heideggers Destruktion der Tradition am Beispiel des Aristoteles, in: HJb 3\n(2007) 77-95.\n",
       {u"Helmuth Vetter: Heideggers Destruktion der Tradition am Beispiel des Aristoteles, in: HJb 3\n(2007) 77-95.",
        u"Coughenour, M. B., and F. J. Singer. 1996. Elk population processes in Yellowstone National Park under the policy of natural regulation. Ecological Applications 6: 573-593.",
        u"Gurke, Karl 1987 Bricks and Brick Making: A Handbook for Historical Archaeology. The University of Idaho Press.",
        u"Helmuth Vetter: Heideggers Destruktion der Tradition am Beispiel des Aristoteles, in: HJb 3\n(2007) 77-95."},
       {}},
      {"a reference cited twice under two numbers keeps its last line, which ends in a number",
       u"24) 1997: Ulf Preuss-Lausitz: Einsäuliger Dom der Technik. Über die Abwicklungspläne an der TU Berlin und die Zukunft der\n"
       u"    Lehrerbildung in Berlin. In: Deutsche Lehrerzeitung 29-30/1997 (24. 7. 1997), S. 7\n"
       u"25) Irmtraud Schnell: 2014 Dank an Hubert Hüppe. Zeitschrift für Inklusion. Gemeinsam leben. 22. Jg. Heft 3, 143 f.\n"
       u"26) 1997: Ulf Preuss-Lausitz: Einsäuliger Dom der Technik. Über die Abwicklungspläne an der TU Berlin und die Zukunft der\n"
       u"    Lehrerbildung in Berlin. In: Deutsche Lehrerzeitung 29-30/1997 (24. 7. 1997), S. 7\n",
       {u"24) 1997: Ulf Preuss-Lausitz: Einsäuliger Dom der Technik. Über die Abwicklungspläne an der TU Berlin und die Zukunft der\n"
        u"    Lehrerbildung in Berlin. In: Deutsche Lehrerzeitung 29-30/1997 (24. 7. 1997), S. 7",
        u"25) Irmtraud Schnell: 2014 Dank an Hubert Hüppe. Zeitschrift für Inklusion. Gemeinsam leben. 22. Jg. Heft 3, 143 f.",
        u"26) 1997: Ulf Preuss-Lausitz: Einsäuliger Dom der Technik. Über die Abwicklungspläne an der TU Berlin und die Zukunft der\n"
        u"    Lehrerbildung in Berlin. In: Deutsche Lehrerzeitung 29-30/1997 (24. 7. 1997), S. 7"},
       {}},
      {"a reference cited twice, with its short last line, is no running head",
       u"Craig, H., 2004. Stylistic analysis, in Schreibman et al. (ed.), A Companion to Digital Humanities,\n"
       u"Maldon, etc., 2004\n"
       u"Hawthorne, Nathaniel. Tales and Sketches. Edited by Roy Harvey Pearce. New York: Library of America, 1982.\n"
       u"Craig, H., 2004. Stylistic analysis, in Schreibman et al. (ed.), A Companion to Digital Humanities,\n"
       u"Maldon, etc., 2004\n",
       {u"Craig, H., 2004. Stylistic analysis, in Schreibman et al. (ed.), A Companion to Digital Humanities,\nMaldon, etc., 2004",
        u"Hawthorne, Nathaniel. Tales and Sketches. Edited by Roy Harvey Pearce. New York: Library of America, 1982.",
        u"Craig, H., 2004. Stylistic analysis, in Schreibman et al. (ed.), A Companion to Digital Humanities,\nMaldon, etc., 2004"},
       {}},
      {"a running head first after a form feed, its page number on a line of its own",
       u"23. Castro-Caldas, A. The illiterate brain. Brain, 121 (1998).\n\n"
       u"\fJournal of Geothermal Research 13 (2017)\n\n2\n\n24. Dall\u2019Aglio P. Topografia antica. 1994.\n",
       {u"23. Castro-Caldas, A. The illiterate brain. Brain, 121 (1998).", u"24. Dall\u2019Aglio P. Topografia antica. 1994."},
       {u"\n\fJournal of Geothermal Research 13 (2017)\n\n2\n\n"}},
      {"a running head after a form feed inside a reference",
       u"28) Ferri\u00E8re L., Koeberl C. Geochemistry of basement rocks\nand impact breccias from the uplift of\n"
       u"\fGEOTHERMICS 38 (2010) 12\nthe Bosumtwi crater, Ghana. Special Paper 465, 2010.\n29) Reimold W. U. Impacts. 2011.\n",
       {u"28) Ferri\u00E8re L., Koeberl C. Geochemistry of basement rocks\nand impact breccias from the uplift of\n"
        u"the Bosumtwi crater, Ghana. Special Paper 465, 2010.",
        u"29) Reimold W. U. Impacts. 2011."},
       {u"\fGEOTHERMICS 38 (2010) 12\n"}},
      {"a reference's line first after a form feed stays, a year after its comma",
       u"Smith, J., 1999. Heat Flow in Rocks, 2nd ed.,\n\fOxford University Press, 2001\n"
       u"Jones, K., 2002. Cold flow. Nature 3, 4.\n",
       {u"Smith, J., 1999. Heat Flow in Rocks, 2nd ed.,\nOxford University Press, 2001",
        u"Jones, K., 2002. Cold flow. Nature 3, 4."},
       {u"\f"}},
      {"a running head seen on every page",
       u"Smith, J., 2001. Heat flow. Geothermics 1, 2.\nGEOTHERMICS 38 (2009)\nJones, K., 2002. Cold flow.\n"
       u"Nature 3, 4.\nGEOTHERMICS 38 (2009)\nBrown, P., 2003. Warm. Science 5, 6.",
       {u"Smith, J., 2001. Heat flow. Geothermics 1, 2.", u"Jones, K., 2002. Cold flow.\nNature 3, 4.",
        u"Brown, P., 2003. Warm. Science 5, 6."},
       {u"GEOTHERMICS 38 (2009)\n", u"GEOTHERMICS 38 (2009)\n"}},
  };
  for (const auto& row : rows) Check(row);
}

TEST(Finder, OneReference) {
  const std::vector<Row> rows = {
      {"empty", u"", {}, {}},
      {"blank lines only", u"\n \n", {}, {u"\n \n"}},
      {"one line", u"Smith, J. (2020). Heat flow. Geothermics, 1, 1-2.",
       {u"Smith, J. (2020). Heat flow. Geothermics, 1, 1-2."}, {}},
      {"broken by hand, each line ending early",
       u"Smith, J. (2020). Heat flow in geo-\r\nthermal wells.\r\nGeothermics, 1, 1-2.",
       {u"Smith, J. (2020). Heat flow in geo-\r\nthermal wells.\r\nGeothermics, 1, 1-2."}, {}},
      {"the tool's own format", u"THE GEOLOGY OF THE WAIRAKEI\nGEOTHERMAL FIELD; grindley, g.w.",
       {u"THE GEOLOGY OF THE WAIRAKEI\nGEOTHERMAL FIELD; grindley, g.w."}, {}},
      {"publisher on a line that opens like a name",
       u"Barrett-Lennard, G. T. (2003). Steps on a\nmindful journey. Person-centred expressions.\nRoss-on-Wye, UK: PCCS Books.",
       {u"Barrett-Lennard, G. T. (2003). Steps on a\nmindful journey. Person-centred expressions.\nRoss-on-Wye, UK: PCCS Books."},
       {}},
      {"place and publisher on lines of their own",
       u"IIRR. (2000). Going to scale: can we bring\nmore benefits to more people more quickly.\nCavite, The Philippines.: "
       u"International\nInstitute of Rural Recosntruction (IIRR).",
       {u"IIRR. (2000). Going to scale: can we bring\nmore benefits to more people more quickly.\nCavite, The Philippines.: "
        u"International\nInstitute of Rural Recosntruction (IIRR)."},
       {}},
      {"an archive after the year",
       u"\u201CA Letter from the Storekeeper General at the\nAdmiralty Dated May 25, 1839 to the Captain\n"
       u"Superintendent of Chatham Yard.\u201D 1839.\nNational Maritime Museum, Caird Library.",
       {u"\u201CA Letter from the Storekeeper General at the\nAdmiralty Dated May 25, 1839 to the Captain\n"
        u"Superintendent of Chatham Yard.\u201D 1839.\nNational Maritime Museum, Caird Library."},
       {}},
      {"a DOI's digits are no second year",
       u"Burton, P. J., & Bruhn, R. E. (2003).\nTeaching programming in the OOP era. ACM\nSIGCSE Bulletin, 35(2), 111-114.\n"
       u"DOI:http://dx.doi.org/10.1145/782941.2009",
       {u"Burton, P. J., & Bruhn, R. E. (2003).\nTeaching programming in the OOP era. ACM\nSIGCSE Bulletin, 35(2), 111-114.\n"
        u"DOI:http://dx.doi.org/10.1145/782941.2009"},
       {}},
      {"a citation number", u"[3] Smith JR, de la Macorra JC. Effects of fluid flow on pH.\nJ Geophys Res. 2011;116(B4):1-12.",
       {u"[3] Smith JR, de la Macorra JC. Effects of fluid flow on pH.\nJ Geophys Res. 2011;116(B4):1-12."}, {}},
      {"vancouver's numbers open a line",
       u"Hart AB. The 1995 Wairakei Drilling Campaign: Summary and Evaluation\nof Experiences. New Zealand Journal of Geology and "
       u"Geophysics.\n2009;35(3): 212\u2013224. doi:10.1080/00288306.2009.9518.",
       {u"Hart AB. The 1995 Wairakei Drilling Campaign: Summary and Evaluation\nof Experiences. New Zealand Journal of Geology and "
        u"Geophysics.\n2009;35(3): 212\u2013224. doi:10.1080/00288306.2009.9518."},
       {}},
      {"a line that ends with an editor's given name",
       u"Halloran, Peter J. 1991. Voyage to Taupo, 1883\u20131885. Ed. Richard\nA. Pierce. Trans. Marina Ramsay. Kingston on: "
       u"Limestone Press, 1991.",
       {u"Halloran, Peter J. 1991. Voyage to Taupo, 1883\u20131885. Ed. Richard\nA. Pierce. Trans. Marina Ramsay. Kingston on: "
        u"Limestone Press, 1991."},
       {}},
      {"vancouver's volume and issue open a line",
       u"Hart AB. The 1995 Wairakei Drilling Campaign. J Volcanol Geoth Res. 2009;\n35(3):212\u2013224.",
       {u"Hart AB. The 1995 Wairakei Drilling Campaign. J Volcanol Geoth Res. 2009;\n35(3):212\u2013224."}, {}},
      {"a line ending in a comma, then a book's name like a family name",
       u"Hart, J. S. (1859) 'Bentham', in J. S. Hart,\nUtilitarianism, London: Fontana Books (1962),\npp. 78-125.",
       {u"Hart, J. S. (1859) 'Bentham', in J. S. Hart,\nUtilitarianism, London: Fontana Books (1962),\npp. 78-125."}, {}},
      {"a line ending in a word, then a journal's name",
       u"Hart AB. The 2001 Wairakei Drilling Campaign: Summary and Evaluation of Experiences. European\n"
       u"Journal of Trauma and Emergency Surgery. 2009;35(3): 212\u2013224. doi:10.1007/s00068009-9902-6.",
       {u"Hart AB. The 2001 Wairakei Drilling Campaign: Summary and Evaluation of Experiences. European\n"
        u"Journal of Trauma and Emergency Surgery. 2009;35(3): 212\u2013224. doi:10.1007/s00068009-9902-6."},
       {}},
      {"two references, the first ending in its full stop, stay two",
       u"Hart, J. S. (1859) Bentham. London: Fontana Books.\nUtilitarianism, J. (1962). Heat flow. Geothermics, 1, 1-2.",
       {u"Hart, J. S. (1859) Bentham. London: Fontana Books.", u"Utilitarianism, J. (1962). Heat flow. Geothermics, 1, 1-2."},
       {}},
  };
  for (const auto& row : rows) Check(row);
}

// Every character is in one reference or one left-out run, in order.
// Hanging indents kept as spaces decide where references start, whatever
// the weights would say; other indents leave it to them.
TEST(Finder, HangingIndents) {
  const auto never = [](size_t, std::span<const uint16_t>) { return false; };
  const auto always = [](size_t, std::span<const uint16_t>) { return true; };
  const S hanging =
      u"Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\n"
      u"     Academic Press.\n"
      u"Wong, A. M., and Reid, A. M., 1994. The subsurface character of the Marquez crater, from gravity\n"
      u"     data (abstract). Meteoritics, v. 29, pp. 552-553.\n"
      u"Brown, P. (2003). Warm springs. Science, 5, 6\u20137.\n";
  // A paragraph's first line indented, the others flush: no hanging indent.
  const S firstLine =
      u"     Grant, M. A., & Bixley, P. F. (2011). Geothermal reservoir engineering (2nd ed.).\n"
      u"Academic Press.\n"
      u"     Wong, A. M., and Reid, A. M., 1994. The subsurface character of the Marquez crater, from gravity\n"
      u"data (abstract). Meteoritics, v. 29, pp. 552-553.\n"
      u"     Brown, P. (2003). Warm springs. Science, 5, 6\u20137.\n";
  const struct {
    const char* name;
    S text;
    StartDecider decide;
    size_t references;
  } rows[] = {
      {"hanging: weights that start none", hanging, never, 3},
      {"hanging: weights that start every line", hanging, always, 3},
      {"first lines indented: the weights decide, none", firstLine, never, 1},
      {"first lines indented: the weights decide, every line", firstLine, always, 5},
  };
  for (const auto& row : rows) EXPECT_EQ(FindReferences(row.text, row.decide).references.size(), row.references) << row.name;
}

TEST(Finder, CoversTheTextOnce) {
  const S text = u"References\n\n[1] A, B. 2001. T.\n12\n[2] C, D. 2002.\r\n\f[3] E. 2003";
  const FoundReferences found = FindReferences(text);
  std::vector<Piece> all = found.leftOut;
  for (const auto& r : found.references) all.insert(all.end(), r.lines.begin(), r.lines.end());
  std::sort(all.begin(), all.end(), [](const Piece& a, const Piece& b) { return a.begin < b.begin; });
  size_t at = 0;
  for (const Piece& p : all) {
    EXPECT_EQ(p.begin, at);
    at = p.end;
  }
  EXPECT_EQ(at, text.size());
  EXPECT_EQ(found.references.size(), 3u);
}

}  // namespace
}  // namespace tf::reference
