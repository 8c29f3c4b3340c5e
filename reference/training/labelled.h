// The labelled references the tools learn from and measure on: XML files
// of <dataset><sequence><author>...</author><title>...</title>...</sequence>,
// each part an element named by its tag (author, title, date, ...).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tf::reference::training {

struct Part {
  std::string tag;
  std::u16string text;
};
using LabelledReference = std::vector<Part>;

// The text as the tools' measures compare it: no case, no white space, no
// hyphens or dashes, no quotes, no punctuation at either end. Both tools
// count a title right when its Normal() is the labelled one's.
std::u16string Normal(std::u16string_view s);

// Every reference of the folder's .xml files, file by file in name order
// (or of the one file `folder` names); exits with a message when a file is
// no XML.
std::vector<LabelledReference> LoadLabelled(const std::filesystem::path& folder, const char* tool);

}  // namespace tf::reference::training
