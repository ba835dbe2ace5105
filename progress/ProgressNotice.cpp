#include "progress/ProgressNotice.h"

#include <utility>
#include <vector>

#include "content/TextTable.h"
#include "gui/TMessageBox.h"
#include "gui/TWidgetmanager.h"
#include "media/System.h"

namespace {
constexpr int kOkText = 30;

std::function<void(const std::string&)> noticeSink;
std::vector<std::string> pending;
}  // namespace

void ShowProgressNotice(const std::string& text) {
    if (noticeSink) {
        noticeSink(text);
        return;
    }
    PrintLine(text);
    pending.push_back(text);
}

void OpenPendingProgressNotices() {
    if (pending.empty() || !WidgetManager) return;
    const std::string ok = TextTable.size() > kOkText ? TextTable[kOkText] : "OK";
    const std::vector<std::string> texts = std::move(pending);
    pending.clear();
    for (const std::string& text : texts) OpenMessageBox(nullptr, text, 1, ok, "");
}

void SetProgressNoticeSink(std::function<void(const std::string&)> sink) { noticeSink = std::move(sink); }
