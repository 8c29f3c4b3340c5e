// Breadth-first order for a trie built in preorder: the one way the
// program's tries (the squish index, smart mode's dictionary) lay out
// their nodes, so that each node's children follow one another, in the
// order of their characters, and a node's children are one range.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tf::trie {

// Each preorder node's breadth-first number: preorder stably sorted by
// depth keeps nodes of one depth in the order of their prefixes. Worked
// example: preorder root, a, ab, b (depths 0 1 2 1) numbers them 0 1 3 2,
// so breadth first they stand root, a, b, ab.
inline std::vector<std::uint32_t> BreadthFirstNumbers(const std::vector<std::uint32_t>& depth) {
  if (depth.empty()) return {};
  std::vector<std::uint32_t> atDepth(*std::max_element(depth.begin(), depth.end()) + 2, 0);
  for (const auto d : depth) ++atDepth[d + 1];
  for (size_t d = 0; d + 1 < atDepth.size(); ++d) atDepth[d + 1] += atDepth[d];
  std::vector<std::uint32_t> number(depth.size());
  for (size_t v = 0; v < depth.size(); ++v) number[v] = atDepth[depth[v]]++;
  return number;
}

// Where each node's children begin, for nodes numbered breadth first with
// their parents (the root's, parent[0], is not read): the children of v
// are [first[v], first[v + 1]). In the example above, parents - 0 0 1 give
// first = 1 3 4 4 4.
inline std::vector<std::uint32_t> FirstChildren(const std::vector<std::uint32_t>& parent) {
  std::vector<std::uint32_t> first(parent.size() + 1, 0);
  for (size_t v = 1; v < parent.size(); ++v) ++first[parent[v] + 1];
  first[0] = 1;
  for (size_t v = 0; v < parent.size(); ++v) first[v + 1] += first[v];
  return first;
}

}  // namespace tf::trie
