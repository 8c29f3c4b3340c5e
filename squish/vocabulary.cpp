#include "squish/vocabulary.h"

#include <algorithm>
#include <mutex>
#include <numeric>

#include "squish/index.h"
#include "text/text.h"

namespace tf {

// Each piece carries its own separating spaces; they are joined with nothing
// in between, so a piece must keep its leading or trailing space.
const std::array<std::u16string_view, 41> kBuiltInPieces = {
    u"reservoir drilling project fields fluids fault from with ",
    u"from are and but for the this that by to reinjection ",
    u"resistivity electrical field fluid scaling of is ",
    u"exploitation geothermal silica also wells significantly ",
    u"at calcite plants in plant significant horizontal vertical ",
    u"exploit study calcite well drilled tested chloride ",
    u"potential test installed utilization installed characterized ",
    u"source studies ratios resource distributed capacity ",
    u"including ratio technology technologies used use total ",
    u"possibilities future resource discovered discovery ",
    u"related correspond previous availability conventional ",
    u"data indicate attributed exist results injection ",
    u"analysis heat front fracture fractured structural ",
    u"structure temperature pressure water steam decline ",
    u"decline available permeability production productive ",
    u"insufficient contact respectively over stress strain ",
    u"class situation feature features vapor vapour generator ",
    u"generation power plant industry heated concentrated ",
    u"explored exploration geology respectively experiment ",
    u"expected high first built constructed experimental ",
    u"China Japan Mexico Philippines New Zealand conditions ",
    u"interstitial boiling alteration rocks rock liquid surface ",
    u"equipment corrosion supply tectonic will altered ",
    u"surfaces steamfield active operation adorption condensation ",
    u"energy resources flashing flash another heated heat ",
    u"stations station depth deep deeper depths explore ",
    u"geophysics engineering Wairakei Ohaaki Broadlans Geysers ",
    u"direct direction target breakthrough thermal chemical ",
    u"chemicals wellbore absolute intrinsic regional region ",
    u" cuttings project stratigraphic volcanic entries principally ",
    u" clastic model modeling modelling lithologies lithology ",
    u" largely large caldera faults inside outside resulting ",
    u" drill permeabilities application applications detailed ",
    u" detail details thickness formations formation layers layer ",
    u" lacustrine feet until latter lateral laterally meters meter ",
    u" gravity resistivity intrusive into directions direction ",
    u"intersecting intersection east west north south eastern western ",
    u" northern southern central recharge discharge magnitude ",
    u"occur basement granite tertiary two three four five six seven ",
    u"eight nine numbers number highly high hydrothermal ",
    u" vicinity fractures feasibility economic economics "};

namespace {

std::vector<std::u16string> VocabularyWords(std::u16string_view wordListText) {
  std::u16string text;
  for (auto piece : kBuiltInPieces) text += piece;
  std::vector<std::u16string> words;
  for (auto w : BreakWords(text)) words.emplace_back(w);
  // The list's lines are appended each after a space, so a leading TAB or
  // line break of the file never yields an empty word.
  for (auto w : BreakWords(wordListText))
    if (!w.empty()) words.emplace_back(w);
  // Longest first; words of equal length keep their order.
  std::vector<std::uint32_t> order(words.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return words[a].size() > words[b].size();
  });
  std::vector<std::u16string> sorted;
  sorted.reserve(words.size());
  for (auto i : order) sorted.push_back(std::move(words[i]));
  return sorted;
}

}  // namespace

Vocabulary::Vocabulary() : Vocabulary(VocabularyWords({})) {}

struct Vocabulary::Lazy {
  std::once_flag once;
  std::unique_ptr<SquishIndex> index;
};

Vocabulary::Vocabulary(std::vector<std::u16string> words)
    : m_wordList(std::move(words)), m_lazy(std::make_unique<Lazy>()) {}

const SquishIndex& Vocabulary::Index() const {
  std::call_once(m_lazy->once, [this] { m_lazy->index = std::make_unique<SquishIndex>(m_wordList); });
  return *m_lazy->index;
}

Vocabulary Vocabulary::Empty() { return Vocabulary(std::vector<std::u16string>{}); }

Vocabulary Vocabulary::StartWords(std::u16string_view wordListText) {
  return Vocabulary(VocabularyWords(wordListText));
}

Vocabulary::Vocabulary(Vocabulary&&) noexcept = default;
Vocabulary& Vocabulary::operator=(Vocabulary&&) noexcept = default;
Vocabulary::~Vocabulary() = default;

std::u16string Vocabulary::SpacedWords(size_t i) const {
  const auto& w = m_wordList.at(i);
  std::u16string s(2 * w.size() + 1, u' ');
  for (size_t k = 0; k < w.size(); ++k) s[2 * k + 1] = w[k];
  return s;
}

}  // namespace tf
