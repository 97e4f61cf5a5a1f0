// The documents' links lead somewhere: every relative link of the READMEs
// (English and Japanese) and of docs/ names a file of the sources, and every
// link to a section names a heading of that file; the READMEs and the manual
// pages name each other and the files they point the reader to.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = TRAINSIM_SOURCE_DIR;

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The markdown without its fenced code blocks, and also without its `spans`:
// brackets there are examples, not links.
std::string withoutFences(const std::string& markdown, bool spansToo = false) {
    std::string out;
    std::istringstream lines(markdown);
    bool fenced = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
            continue;
        }
        if (!fenced) out += (spansToo ? std::regex_replace(line, std::regex("`[^`]*`"), "") : line) + "\n";
    }
    return out;
}

// The anchors a markdown renderer gives the file's headings: lower case, ASCII
// punctuation other than - and _ dropped, blanks as hyphens, and -1, -2, ...
// after a repeated one. Letters beyond ASCII are kept as they are.
std::set<std::string> headingAnchors(const std::string& markdown) {
    std::set<std::string> out;
    std::map<std::string, int> seen;
    std::istringstream lines(withoutFences(markdown));
    const std::regex heading(R"(^#{1,6}\s+(.*?)\s*#*\s*$)");
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, heading)) continue;
        std::string slug;
        for (unsigned char c : m[1].str()) {
            if (c >= 0x80 || std::isalnum(c) || c == '-' || c == '_')
                slug += static_cast<char>(std::tolower(c));
            else if (c == ' ')
                slug += '-';
        }
        const int n = seen[slug]++;
        out.insert(n == 0 ? slug : slug + "-" + std::to_string(n));
    }
    return out;
}

struct Link {
    std::string file;    // relative to the document's folder; empty: the document itself
    std::string anchor;  // without the #
};

std::vector<Link> links(const std::string& markdown) {
    std::vector<Link> out;
    const std::string text = withoutFences(markdown, true);
    const std::regex link(R"(\]\(([^)\s]+)\))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it) {
        const std::string target = (*it)[1].str();
        if (std::regex_search(target, std::regex("^[a-z]+:"))) continue;  // http:, mailto: ...
        const size_t hash = target.find('#');
        out.push_back({target.substr(0, hash), hash == std::string::npos ? "" : target.substr(hash + 1)});
    }
    return out;
}

// Every broken link of one document, as "target: why".
std::vector<std::string> brokenLinks(const fs::path& document, size_t* count) {
    std::vector<std::string> broken;
    const auto found = links(readText(document));
    *count = found.size();
    for (const Link& l : found) {
        const fs::path target = l.file.empty() ? document : document.parent_path() / l.file;
        const std::string name = l.file + (l.anchor.empty() ? "" : "#" + l.anchor);
        if (!fs::is_regular_file(target)) {
            broken.push_back(name + ": no such file");
            continue;
        }
        if (!l.anchor.empty() && !headingAnchors(readText(target)).count(l.anchor))
            broken.push_back(name + ": no such heading in " + target.filename().string());
    }
    return broken;
}

// The manual page as it reads: escaped hyphens plain, font changes gone.
std::string manualText(const fs::path& page) {
    std::string t = std::regex_replace(readText(page), std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(t, std::regex(R"(\\-)"), "-");
}

}  // namespace

TEST(DocumentLinks, HeadingAnchorsAreTheRenderedOnes) {
    const auto anchors = headingAnchors(
        "# Train Simulator\n## Set up\n```\n# not a heading\n```\n### Camera videos\n## Keys\n## Keys\n"
        "## Making a route from your own video\n## What `--link` does, in brief!\n## 運転画面とキー操作\n");
    EXPECT_EQ(anchors, (std::set<std::string>{"train-simulator", "set-up", "camera-videos", "keys", "keys-1",
                                              "making-a-route-from-your-own-video", "what---link-does-in-brief",
                                              "運転画面とキー操作"}));
    const auto found = links(
        "[a](README.md#keys) `[b](nowhere.md)` ![c](docs/x.png) [d](https://example.org/)\n"
        "[e](#set-up)\n```\n[f](fenced.md)\n```\n");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].file, "README.md");
    EXPECT_EQ(found[0].anchor, "keys");
    EXPECT_EQ(found[1].file, "docs/x.png");
    EXPECT_EQ(found[2].file, "");
    EXPECT_EQ(found[2].anchor, "set-up");
}

TEST(DocumentLinks, EveryLinkOfTheReadmesAndDocsLeadsToAFileAndHeading) {
    std::vector<fs::path> documents{kSource / "README.md", kSource / "README.ja.md"};
    for (const auto& e : fs::directory_iterator(kSource / "docs"))
        if (e.path().extension() == ".md") documents.push_back(e.path());
    for (const fs::path& d : documents) {
        ASSERT_TRUE(fs::is_regular_file(d)) << d;
        size_t count = 0;
        for (const std::string& b : brokenLinks(d, &count)) ADD_FAILURE() << d.filename().string() << ": " << b;
        const size_t least = d.filename() == "README.ja.md" ? 25 : d.filename() == "README.md" ? 10 : 0;
        EXPECT_GE(count, least) << d.filename().string() << ": the regular expression finds the links";
    }
}

TEST(DocumentLinks, TheReadmesNameEachOtherAtTheTop) {
    const std::string english = readText(kSource / "README.md"), japanese = readText(kSource / "README.ja.md");
    EXPECT_LT(english.find("日本語: [README.ja.md](README.ja.md)"), 200u);
    EXPECT_LT(japanese.find("English: [README.md](README.md)"), 200u);
}

// What the manual pages send the reader to is there: the other page and the
// documents of the sources.
TEST(DocumentLinks, TheManualPagesNameFilesOfTheSources) {
    for (const char* page : {"desktop/trainsim.1", "desktop/trainsim.ja.1"}) {
        const std::string text = manualText(kSource / page);
        ASSERT_FALSE(text.empty()) << page;
        const std::regex named(R"((?:docs|desktop)/[A-Za-z0-9_.-]*[A-Za-z0-9_])");
        int names = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), named); it != std::sregex_iterator(); ++it) {
            ++names;
            EXPECT_TRUE(fs::is_regular_file(kSource / it->str())) << page << " names " << it->str();
        }
        EXPECT_GE(names, 2) << page << " names the data formats and the other page";
        for (const char* doc : {"gps-import.md", "speed-from-video.md"}) {
            if (text.find(doc) != std::string::npos) {
                EXPECT_TRUE(fs::is_regular_file(kSource / "docs" / doc)) << doc;
            }
        }
    }
}
