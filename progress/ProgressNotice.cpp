#include "progress/ProgressNotice.h"

#include <utility>

#include "media/System.h"

namespace {
std::function<void(const std::string&)> noticeSink;
}  // namespace

void ShowProgressNotice(const std::string& text) {
    if (noticeSink) {
        noticeSink(text);
        return;
    }
    // TODO(message box): switch to OpenMessageBox once the game's own boxes exist.
    Notify(text, false);
}

void SetProgressNoticeSink(std::function<void(const std::string&)> sink) { noticeSink = std::move(sink); }
