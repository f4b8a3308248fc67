#include "app/shell/node_fragment.h"

#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

const EmblemNode* topOf(const EmblemNode* node) {
  while (node->parent()) node = node->parent();
  return node;
}

// A file names only visible nodes visible, and its reader takes a layer without the attribute
// for a visible one; a copied hidden layer must stay hidden, so it says so outright. The writer
// puts the attribute right after the name, whose quotes are always escaped inside.
std::string withHiddenLayersMarked(const std::string& text) {
  constexpr std::string_view kLayerStart = "<layer name=\"";
  constexpr std::string_view kVisible = " visible=\"true\"";
  std::string marked;
  marked.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t at = text.find(kLayerStart); at != std::string::npos;
       at = text.find(kLayerStart, at + 1)) {
    const std::size_t nameEnd = text.find('"', at + kLayerStart.size());
    if (nameEnd == std::string::npos) break;
    marked.append(text, done, nameEnd + 1 - done);
    done = nameEnd + 1;
    if (text.compare(done, kVisible.size(), kVisible) != 0) marked += " visible=\"false\"";
  }
  marked.append(text, done);
  return marked;
}

}  // namespace

std::string nodeFragmentText(const EmblemNode& node) {
  EmblemDocument fragment;
  const EmblemNode* top = topOf(&node);
  EmblemInfo info{0, 192, 96, 0};
  std::u16string_view name = kUntitledName;
  if (top->kind() == NodeKind::Info && top != &node) {
    info = top->info();
    name = top->name();
  }
  fragment.newDocument(name, info.width, info.height);
  EmblemDocument::setInfo(fragment.root(), info);
  if (node.kind() == NodeKind::Info) {
    // The root stands for its whole content.
    for (const EmblemNode* child = node.firstChild(); child; child = child->next()) {
      fragment.appendChild(fragment.root(), EmblemDocument::duplicate(child));
    }
  } else {
    fragment.appendChild(fragment.root(), EmblemDocument::duplicate(&node));
  }
  return withHiddenLayersMarked(xmlEmblemText(fragment));
}

std::vector<NodePtr> nodesOfFragment(std::string_view text) {
  std::vector<NodePtr> nodes;
  if (text.empty() || text.size() > kMaxXmlEmblemBytes) return nodes;
  EmblemDocument fragment;
  if (!readXmlEmblemFromMemory(fragment, text) || !fragment.root()) return nodes;
  for (EmblemNode* child = fragment.root()->firstChild(); child; child = child->next()) {
    if (child->kind() != NodeKind::Group && child->kind() != NodeKind::Layer) continue;
    // Copies have no owner, so nothing of them refers to this short-lived document.
    nodes.push_back(EmblemDocument::duplicate(child));
  }
  return nodes;
}

}  // namespace orvane
