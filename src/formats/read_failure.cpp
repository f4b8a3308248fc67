#include "formats/read_failure.h"

#include <utility>

#include "base/failure.h"

namespace orvane {

bool failRead(EmblemDocument& document, std::string* error, std::string reason) {
  document.clear();
  document.fire(DocumentEvent::UpdateEnds, 0);
  return fail(error, std::move(reason));
}

}  // namespace orvane
