// The report page and the heatmap file: well-formed, self-contained, names escaped, small.
#include "cluster/report/html_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/report/heatmap.hpp"
#include "cluster/report/heatmap_layout.hpp"
#include "tests/support/builders.hpp"

namespace {

// Empty when every tag is closed in order and every '&' starts an entity; else what is wrong.
std::string xml_fault(const std::string& text) {
  std::vector<std::string> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      const std::size_t end = text.find(';', i);
      if (end == std::string::npos || end - i > 8) return "bare & at " + std::to_string(i);
      continue;
    }
    if (text[i] != '<') continue;
    if (text.compare(i, 2, "<?") == 0 || text.compare(i, 2, "<!") == 0) {
      i = text.find('>', i);
      continue;
    }
    std::size_t end = i + 1;
    for (char quote = 0; end < text.size() && (quote || text[end] != '>'); ++end)
      if (text[end] == '"') quote = quote ? 0 : '"';
    if (end == text.size()) return "unclosed tag at " + std::to_string(i);
    const std::string tag = text.substr(i + 1, end - i - 1);
    const std::string name = tag.substr(0, tag.find_first_of(" /\n"));
    if (tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1)) return "stray </" + tag.substr(1) + ">";
      open.pop_back();
    } else if (tag.back() != '/') {
      open.push_back(name);
    }
    i = end;
  }
  return open.empty() ? "" : "unclosed <" + open.back() + ">";
}

// Rows named to break markup; two clusters of which the second has rows on both sides.
struct tFixture {
  matrix data = make_matrix({{1, 0, 0.5}, {0, 2, 1}, {0, -3, -1}, {2, 0.1, 0}, {NAN, 1, 1}});
  tNames names;
  array<tTaxaSet> clusters{2}, halves{4};
  array<vector> means{2};
  tFixture() {
    const char* row_names[] = {"<b>", "a&b", "\"q\"", "\xFFraw", "ok"};
    for (int r = 0; r < 5; ++r) names.insert(r, row_names[r]);
    clusters[0] = make_set({0, 3});
    clusters[1] = make_set({1, 2, 4});
    halves[1] = make_set({0, 3});
    halves[2] = make_set({2});
    halves[3] = make_set({1, 4});
    means[0] = make_vector({1, 0, 0});
    means[1] = make_vector({0, 0.8, 0.6});
  }
  tFinishedClustering clustering() const { return {data, names, clusters, means, halves}; }
};

std::string report(const tRunRecord& run) {
  const tFixture f;
  std::ostringstream os;
  write_html_report(os, run, f.clustering());
  return os.str();
}

TEST(HtmlReport, IsWellFormedSelfContainedAndEscapesNames) {
  tRunRecord run;
  run.command_line = "clusterer -i '<in>'";
  run.objective = 4.5;
  run.pass_objectives = {3, 4, 4.5};
  run.restart_objectives = {4.5};
  const std::string page = report(run);
  EXPECT_EQ(xml_fault(page), "");
  for (const char* external : {"<script", "src=", "href=", "url(", "https:", "@import"})
    EXPECT_EQ(page.find(external), std::string::npos) << external;
  // The only address is the SVG namespace, which names the vocabulary and is never fetched.
  std::string rest = page;
  for (std::size_t at; (at = rest.find("http://www.w3.org/2000/svg")) != std::string::npos;)
    rest.erase(at, 26);
  EXPECT_EQ(rest.find("http"), std::string::npos);
  EXPECT_NE(page.find("&lt;in&gt;"), std::string::npos);
  EXPECT_NE(page.find("not fixed"), std::string::npos);
  EXPECT_NE(page.find(">missing</text>"), std::string::npos);  // row 4 has a missing value
}

TEST(HtmlReport, ShowsAFixedSeed) {
  tRunRecord run;
  run.seed = 1234567890123ULL;
  EXPECT_NE(report(run).find("1234567890123"), std::string::npos);
}

TEST(Heatmap, FileIsWellFormedAndDrawsRowNamesWhenFew) {
  const tFixture f;
  std::ostringstream os;
  write_heatmap_file(os, f.clustering(), row_scores(f.clustering()), {"x<1", "y", "z"});
  const std::string svg = os.str();
  EXPECT_EQ(xml_fault(svg), "");
  EXPECT_NE(svg.find(">&lt;b&gt;</text>"), std::string::npos);
  EXPECT_NE(svg.find(">x&lt;1</text>"), std::string::npos);
}

TEST(Heatmap, CellsFlaggedMissingAreGreyAndNamedInTheLegend) {
  tFixture f;
  f.data(4, 0) = 0;  // filled: no cell of the data is missing any more
  const auto svg = [&](const std::vector<unsigned char>* mask) {
    tFinishedClustering clustering = f.clustering();
    clustering.missing = mask;
    std::ostringstream os;
    write_heatmap_file(os, clustering, row_scores(clustering), {});
    return os.str();
  };
  const std::vector<unsigned char> none, two(15, 0);
  std::vector<unsigned char> flagged = two;
  flagged[4 * 3 + 0] = flagged[1 * 3 + 2] = 1;
  const struct {
    const std::vector<unsigned char>* mask;
    bool grey;
  } cases[] = {{nullptr, false}, {&none, false}, {&two, false}, {&flagged, true}};
  for (const auto& c : cases) {
    const std::string drawn = svg(c.mask);
    EXPECT_EQ(xml_fault(drawn), "");
    EXPECT_EQ(drawn.find(">missing</text>") != std::string::npos, c.grey);
    EXPECT_EQ(drawn.find(tColourScale::missing_colour()) != std::string::npos, c.grey);
  }
  EXPECT_EQ(svg(nullptr), svg(&two));  // no flag: the same bytes as no mask
}

TEST(Heatmap, LargeMatricesAreDrawnInBinsAndStaySmall) {
  const int rows = 7000, cols = 400;
  matrix data(rows, cols);
  for (long long e = 0; e < 1LL * rows * cols; ++e) data.data()[e] = (e * 7919 % 2001) / 1000.0 - 1;
  tNames names;
  array<tTaxaSet> clusters(1), halves(2);
  for (int r = 0; r < rows; ++r) {
    names.insert(r, string(("g" + std::to_string(r)).c_str()));
    clusters[0].insert(r);
    halves[r % 2].insert(r);
  }
  array<vector> means(1);
  means[0] = vector(cols);
  means[0][0] = 1;
  const tFinishedClustering clustering{data, names, clusters, means, halves};
  std::ostringstream os;
  write_heatmap_file(os, clustering, row_scores(clustering), {});
  EXPECT_LT(os.str().size(), 5u << 20);
  EXPECT_NE(os.str().find("mean of up to 14 adjacent rows"), std::string::npos);
  EXPECT_EQ(os.str().find(">g1</text>"), std::string::npos);  // too many rows to name
}

}  // namespace
