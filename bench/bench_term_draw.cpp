// TermDrawRow drawing a whole screen, 200 columns by 60 rows, into an offscreen image: rows of
// ASCII (one glyph run each) and rows that mix ASCII with double-width CJK text (the wide
// characters shaped by Qt with a fallback font). The counter "per_row" is the time of one row.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "ui/colors/term_draw.h"
#include "ui/colors/wide_chars.h"

namespace {

constexpr int kColumns = 200;
constexpr int kRows = 60;

// Row `row` of the screen: the sample repeated from a different start on each row, cut so that
// it fills the 200 columns exactly (a wide character that would not fit becomes a blank).
std::u16string ScreenRow(const std::u16string& sample, int row) {
  std::u16string text;
  int columns = 0;
  size_t i = static_cast<size_t>(row * 7) % sample.size();
  while (columns < kColumns) {
    char16_t c = sample[i++ % sample.size()];
    int cells = termdraw::CharacterColumns(c);
    if (columns + cells > kColumns) c = u' ', cells = 1;
    text += c;
    columns += cells;
  }
  return text;
}

std::vector<std::u16string> Screen(const std::u16string& sample) {
  std::vector<std::u16string> rows;
  for (int row = 0; row < kRows; ++row) rows.push_back(ScreenRow(sample, row));
  return rows;
}

void DrawScreen(benchmark::State& state, const std::vector<std::u16string>& rows) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(15);
  QFontMetrics metrics(font);
  int cell = metrics.horizontalAdvance(QLatin1Char('M'));
  int height = metrics.height();
  QImage image(kColumns * cell, kRows * height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(font);
  const VColor ink = MakeColor(0xE0, 0xDB, 0xB7);
  const VColor paper = MakeColor(0x2A, 0x1F, 0x1D);
  for (auto _ : state) {
    for (int row = 0; row < kRows; ++row) {
      const std::u16string& text = rows[static_cast<size_t>(row)];
      // Every fourth row bold and underlined, as attributes come in a terminal.
      bool marked = row % 4 == 3;
      TermDrawText(painter, ink, paper, marked, marked, 0, row * height, cell, height, text.data(),
                   text.size());
    }
  }
  benchmark::DoNotOptimize(image.constBits());
  state.counters["per_row"] = benchmark::Counter(
      kRows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_TermDrawRowAscii(benchmark::State& state) {
  static const std::vector<std::u16string> rows =
      Screen(u"drwxr-xr-x  2 alice staff  4096 Dec  6 23:22 reports/  -rw-r--r-- 1 alice "
             u"staff 18211 notes.txt  $ grep -n 'TermDrawRow' src/ui/colors/*.cpp | head ");
  DrawScreen(state, rows);
}

void BM_TermDrawRowMixedCjk(benchmark::State& state) {
  static const std::vector<std::u16string> rows =
      Screen(u"2026-12-06 \u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8 ok "
             u"\u4E2D\u6587\u6587\u4EF6 size=42 \uD55C\uAD6D\uC5B4 \u8868\u793A\u30C6\u30B9"
             u"\u30C8 done; ");
  DrawScreen(state, rows);
}

BENCHMARK(BM_TermDrawRowAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TermDrawRowMixedCjk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Drawn into an image: no display is needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
