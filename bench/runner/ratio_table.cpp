#include "ratio_table.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string FormatSeconds(double seconds) {
  static const struct {
    double scale;
    const char* unit;
  } units[] = {{1, "s"}, {1e-3, "ms"}, {1e-6, "µs"}, {1e-9, "ns"}};
  for (const auto& u : units) {
    if (seconds >= u.scale || u.scale == 1e-9) {
      char text[32];
      double value = seconds / u.scale;
      std::snprintf(text, sizeof text, value >= 100 ? "%.0f %s" : value >= 10 ? "%.1f %s" : "%.2f %s",
                    value, u.unit);
      return text;
    }
  }
  return "";
}

namespace {

std::string FormatRatio(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, ratio >= 10 ? "%.1fx" : "%.2fx", ratio);
  return text;
}

const Samples* Find(const std::map<std::string, Samples>& results, const std::string& name) {
  auto found = results.find(name);
  return found == results.end() ? nullptr : &found->second;
}

void JsonString(std::ostream& out, const std::string& text) {
  out << '"';
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out << escaped;
    } else {
      out << c;
    }
  }
  out << '"';
}

void JsonNumbers(std::ostream& out, const std::vector<double>& values) {
  out << '[';
  for (size_t i = 0; i < values.size(); ++i) out << (i ? "," : "") << values[i];
  out << ']';
}

}  // namespace

std::vector<RatioRow> BuildRows(const std::vector<Comparison>& comparisons,
                                const std::map<std::string, Samples>& results, bool judgeCpu) {
  std::vector<RatioRow> rows;
  for (const Comparison& comparison : comparisons) {
    RatioRow row;
    row.comparison = &comparison;
    row.judgeCpu = judgeCpu;
    row.ours = Find(results, comparison.oursName);
    row.peer = Find(results, comparison.peerName);
    if (!row.ours || !row.peer) {
      row.problem = "not run";
    } else if (!row.ours->error.empty() || !row.peer->error.empty()) {
      row.problem = "failed: " + (row.ours->error.empty() ? row.peer->error : row.ours->error);
    } else if (row.ours->wall.empty() || row.peer->wall.empty()) {
      row.problem = "no figures";
    } else {
      row.oursWall = Median(row.ours->wall);
      row.peerWall = Median(row.peer->wall);
      row.oursCpu = Median(row.ours->cpu);
      row.peerCpu = Median(row.peer->cpu);
      row.ratio = row.peerWall > 0 ? row.oursWall / row.peerWall : 0;
      row.cpuRatio = row.peerCpu > 0 ? row.oursCpu / row.peerCpu : 0;
      // Two sides that printed different lists did not do the same work.
      if (row.ours->entries >= 0 && row.peer->entries >= 0 && row.ours->entries != row.peer->entries) {
        row.problem = "entries differ: " + std::to_string(static_cast<long>(row.ours->entries)) +
                      " against " + std::to_string(static_cast<long>(row.peer->entries));
      }
    }
    rows.push_back(row);
  }
  return rows;
}

void PrintMarkdown(std::ostream& out, const std::vector<RatioRow>& rows) {
  out << "| Ours | Floor or peer | Ours | Peer | Ratio | CPU ratio | Target | Met |\n"
      << "|---|---|--:|--:|--:|--:|--:|---|\n";
  for (const RatioRow& row : rows) {
    const Comparison& c = *row.comparison;
    out << "| " << c.ours << " | " << c.peer << " | ";
    if (row.problem.empty() || row.Measured()) {
      out << FormatSeconds(row.oursWall) << " | " << FormatSeconds(row.peerWall) << " | "
          << FormatRatio(row.ratio) << " | " << FormatRatio(row.cpuRatio) << " | ";
    } else {
      out << " |  |  |  | ";
    }
    out << (c.target > 0 ? "≤ " + FormatRatio(c.target) : std::string("–")) << " | ";
    if (!row.problem.empty()) {
      out << row.problem;
    } else if (c.target > 0) {
      out << (row.Met() ? "yes" : "**no**");
    }
    out << " |\n";
  }
}

void PrintJson(std::ostream& out, const std::vector<RatioRow>& rows, const std::string& machine,
               int repetitions) {
  out << "{\"machine\": ";
  JsonString(out, machine);
  out << ", \"repetitions\": " << repetitions << ", \"comparisons\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    const RatioRow& row = rows[i];
    const Comparison& c = *row.comparison;
    out << (i ? ",\n  " : "\n  ") << "{\"ours\": ";
    JsonString(out, c.ours);
    out << ", \"ours_benchmark\": ";
    JsonString(out, c.oursName);
    out << ", \"peer\": ";
    JsonString(out, c.peer);
    out << ", \"peer_benchmark\": ";
    JsonString(out, c.peerName);
    out << ", \"judged_on\": \"" << (row.judgeCpu ? "cpu" : "wall") << "\", \"target\": ";
    if (c.target > 0) out << c.target; else out << "null";
    if (row.Measured()) {
      out << ", \"ours_seconds\": " << row.oursWall << ", \"peer_seconds\": " << row.peerWall
          << ", \"ratio\": " << row.ratio << ", \"cpu_ratio\": " << row.cpuRatio
          << ", \"ours_wall\": ";
      JsonNumbers(out, row.ours->wall);
      out << ", \"peer_wall\": ";
      JsonNumbers(out, row.peer->wall);
      out << ", \"ours_cpu\": ";
      JsonNumbers(out, row.ours->cpu);
      out << ", \"peer_cpu\": ";
      JsonNumbers(out, row.peer->cpu);
      out << ", \"met\": ";
      if (c.target > 0) out << (row.Met() ? "true" : "false"); else out << "null";
    }
    out << ", \"problem\": ";
    if (row.problem.empty()) out << "null"; else JsonString(out, row.problem);
    out << '}';
  }
  out << "\n]}\n";
}

}  // namespace bench
