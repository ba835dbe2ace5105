// How fast the XML reader gets through a dialog-layout-sized document, and how
// fast path queries find an element among many siblings.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "content/Xml.h"
#include "media/TStream.h"

namespace {

std::vector<uint8_t> Layout(int dialogs) {
    std::string xml = "<?xml version=\"1.0\"?>\n<gui>\n";
    for (int d = 0; d < dialogs; ++d) {
        xml += "  <window id=\"dlg" + std::to_string(d) + "\" x=\"100\" y=\"80\" w=\"600\" h=\"400\">\n";
        for (int w = 0; w < 10; ++w) {
            xml += "    <button id=\"b" + std::to_string(w) +
                   "\" x=\"10\" y=\"20\" text=\"61\" image=\"IMAGE_BUTTON\"/>\n";
        }
        xml += "    <label text=\"62\">caption</label>\n  </window>\n";
    }
    xml += "</gui>\n";
    return std::vector<uint8_t>(xml.begin(), xml.end());
}

void BM_XmlLoad(benchmark::State& state) {
    const std::vector<uint8_t> bytes = Layout(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        XmlNode root = XmlLoad(OpenMemory(bytes));
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_XmlLoad)->Arg(10)->Arg(200);

void BM_XmlPathQuery(benchmark::State& state) {
    XmlNode root = XmlLoad(OpenMemory(Layout(200)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(XmlPathAttrInt(root, "window/label/", "text", 0));
        benchmark::DoNotOptimize(XmlAttrInt(root->lastchild, "W", 0));
    }
}
BENCHMARK(BM_XmlPathQuery);

}  // namespace
