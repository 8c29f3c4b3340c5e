#include "reference/training/labelled.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "io/encoding.h"

namespace tf::reference::training {

std::vector<LabelledReference> LoadLabelled(const std::filesystem::path& folder, const char* tool) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().extension() == ".xml") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::vector<LabelledReference> out;
  for (const auto& file : files) {
    pugi::xml_document doc;
    // Each part's text as it stands: white space alone kept, line ends not
    // rewritten.
    const unsigned options = (pugi::parse_default | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
    if (const auto read = doc.load_file(file.c_str(), options, pugi::encoding_utf8); !read) {
      std::fprintf(stderr, "%s: cannot read %s: %s\n", tool, file.c_str(), read.description());
      std::exit(1);
    }
    for (const auto& sequence : doc.child("dataset").children("sequence")) {
      LabelledReference ref;
      for (const auto& part : sequence.children())
        if (part.type() == pugi::node_element) ref.push_back({part.name(), DecodeText(part.child_value())});
      out.push_back(std::move(ref));
    }
  }
  return out;
}

}  // namespace tf::reference::training
