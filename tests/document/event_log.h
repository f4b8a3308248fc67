#pragma once

#include <string>
#include <vector>

#include "base/utf.h"
#include "document/emblem_document.h"

namespace orvane::testing {

// Records every notification of a document as "Event:name" (or "Event=value") in firing order.
class EventLog {
 public:
  explicit EventLog(EmblemDocument& document) : document_(document) {
    for (int e = 0; e < kDocumentEventCount; ++e) {
      ids_.push_back(document.registerCallback(
          static_cast<DocumentEvent>(e), [this](const DocumentEventArgs& args, std::uint32_t) {
            entries.push_back(describe(args));
          }));
    }
  }
  ~EventLog() {
    for (RegistrationId id : ids_) document_.unregisterCallback(id);
  }
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  static std::string describe(const DocumentEventArgs& args) {
    static const char* const names[] = {"Cleared",     "UpdateBegins", "UpdateEnds",
                                        "NodeAdded",   "NodeRemoved",  "NameChanged",
                                        "InfoChanged", "GroupChanged", "LayerChanged"};
    std::string text = names[static_cast<int>(args.event)];
    if (args.node) return text + ":" + utf16ToUtf8(args.node->name());
    return text + "=" + std::to_string(args.value);
  }

  std::vector<std::string> entries;

 private:
  EmblemDocument& document_;
  std::vector<RegistrationId> ids_;
};

}  // namespace orvane::testing
