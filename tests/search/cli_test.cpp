#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "search/search.h"
#include "search/search_json.h"
#include "search/search_request.h"
#include "settings/settings_store.h"
#include "simulator/build_code.h"
#include "simulator/persistence.h"
#include "tests/settings/temp_folder.h"
#include "tests/support/random_selection.h"

// kestrel-cli run as a user runs it: exit status, standard output and standard error.

namespace {

struct CliRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs kestrel-cli with `args` and `input` on standard input; standard output goes to
// `out` when given.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = {},
              const std::string& out = {}) {
    TempFolder folder;
    WriteBytes(folder.File("in"), input);
    const auto quoted = [](const std::string& text) {
        std::string q = "'";
        for (const char c : text) {
            q.append(c == '\'' ? "'\\''" : std::string(1, c));
        }
        return q.append("'");
    };
    std::string command = quoted(KESTREL_CLI);
    for (const std::string& arg : args) {
        command.append(" ").append(quoted(arg));
    }
    const std::string outFile = out.empty() ? folder.File("out") : out;
    command.append(" <").append(quoted(folder.File("in"))).append(" >").append(quoted(outFile));
    command.append(" 2>").append(quoted(folder.File("err")));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out.empty() ? ReadBytes(outFile) : "",
            ReadBytes(folder.File("err"))};
}

// What the program shows for `build` when it starts with no settings.
TSimulator Shown(const PlannedBuild& build) {
    TSimulator sim;
    MemoryStore empty;
    FormCreate(sim, empty);
    ShowBuild(sim, build);
    return sim;
}

// The answer without its count of nodes, which changes from run to run with threads.
std::string WithoutNodes(std::string json) {
    const size_t nodes = json.find("\"nodes\": ");
    return nodes == std::string::npos ? json : json.erase(nodes, json.find(',', nodes) - nodes);
}

void ExpectRefused(const CliRun& run, const std::string& message) {
    EXPECT_EQ(run.Status, 2) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind(message, 0), 0u) << run.Err;
    EXPECT_EQ(run.Err.back(), '\n');
}

}  // namespace

// --help prints the usage and succeeds; any other command line is refused with it.
TEST(Cli, UsageAndHelp) {
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("使い方: kestrel-cli show", 0), 0u) << help.Out;
    EXPECT_EQ(help.Err, "");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"show"}, {"search"}, {"show", "A", "B"}, {"find", "x"}, {"--help", "show"}}) {
        ExpectRefused(RunCli(args), "使い方: kestrel-cli show");
    }
}

// `show` prints what the library writes for the code shown over empty settings (a share
// link read as its code); a code it cannot show is refused, a full disk is a failure.
TEST(Cli, ShowPrintsTheFiguresOfACode) {
    std::mt19937 rng(31);
    for (int n = 0; n < 12; ++n) {
        TSimulator random;
        RandomSelection(rng, random);
        const std::string code = EncodeBuild(random.State);
        const TSimulator shown = Shown(BuildOf(random.State));
        const std::string want = FiguresJson(BuildOf(shown.State), FiguresOf(shown)) + "\n";
        const CliRun run = RunCli({"show", n % 4 == 0 ? " https://x.org/k#" + code + "\n" : code});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, want);
        EXPECT_EQ(run.Err, "");
    }
    std::string damaged = EncodeBuild(PlannedBuild{});
    damaged.back() = damaged.back() == 'A' ? 'B' : 'A';
    ExpectRefused(RunCli({"show", damaged}), "kestrel-cli: ビルドコードが壊れています\n");
    PlannedBuild noClub;
    noClub.Club = -1;
    ExpectRefused(RunCli({"show", EncodeBuild(noClub)}),
                  "kestrel-cli: このビルドは表示できません: 範囲チェックエラー\n");
    const CliRun full = RunCli({"show", EncodeBuild(PlannedBuild{})}, "", "/dev/full");
    EXPECT_EQ(full.Status, 1);
    EXPECT_EQ(full.Err, "kestrel-cli: 標準出力に書き込めません\n");
}

// `search` prints the library's answer for the query's build, read from a file or from
// standard input; a file it cannot read is refused naming it.
TEST(Cli, SearchPrintsTheAnswerOfAQuery) {
    TempFolder folder;
    std::mt19937 rng(8);
    const std::string objectives[] = {"distance", "pow", "sum", "leastPP"};
    for (int n = 0; n < 4; ++n) {
        TSimulator random;
        RandomSelection(rng, random);
        const std::string text = "{\"build\": \"" + EncodeBuild(random.State) +
                                 "\", \"free\": [\"Ring\", \"Head\", \"PowSlotUp\", \"Caddie\"], "
                                 "\"objective\": \"" +
                                 objectives[n] +
                                 "\", \"min\": {\"ctrl\": " + std::to_string(5 * n) +
                                 "}, \"results\": 5}";
        const SearchResult result =
            RunSearch(Shown(BuildOf(random.State)), QueryFromJson(text).Query);
        const std::string path = folder.File("query " + std::to_string(n) + ".json");
        WriteBytes(path, text);
        const CliRun run = RunCli({"search", path});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(WithoutNodes(run.Out), WithoutNodes(ResultJson(result) + "\n"));
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(WithoutNodes(RunCli({"search", "-"}, text).Out), WithoutNodes(run.Out));
    }
    for (const std::string& path : {folder.File("missing.json"), folder.Path().string()}) {
        ExpectRefused(RunCli({"search", path}), "kestrel-cli: " + path + " を読めません (");
    }
}

// kestrel-cli refuses every bad query in exactly the words of the page's request path,
// and prints the answer it gives.
TEST(Cli, SearchRefusesAsTheCoreRequestDoes) {
    const std::string code = EncodeBuild(PlannedBuild{});
    std::string unknownVersion = code;
    unknownVersion[0] = unknownVersion[0] == 'B' ? 'Z' : 'B';
    PlannedBuild noClub;
    noClub.Club = -1;
    const std::string build = "{\"build\": \"" + code + "\", ";
    const std::vector<std::string> refused = {
        "",
        "[]",
        "{\"build\": \"" + code + "\",\n  \"results\": 5,\n  \"min\": {\"pow\": 01}}",
        "{\"build\": \"\xC3\"}",
        "{\"build\": \"" + code + "\"} x",
        build + "\"budget\": -1}",
        build + "\"min\": {\"pow\": 1000001}}",
        build + "\"free\": [\"Top\", \"Top\"]}",
        build + "\"objective\": \"far\"}",
        build + "\"wish\": 1}",
        build + "\"results\": 1, \"results\": 2}",
        "{\"results\": 5}",
        "{\"build\": \"A\"}",
        "{\"build\": \"" + unknownVersion + "\"}",
        "{\"build\": \"" + EncodeBuild(noClub) + "\"}",
        "{\"build\": \"" + code + "\", \"x\": \"" + std::string(70000, 'x') + "\"}",
    };
    for (const std::string& query : refused) {
        const SearchReply reply = AnswerSearchRequest(query, nullptr);
        EXPECT_FALSE(reply.Answer) << query;
        const CliRun run = RunCli({"search", "-"}, query);
        EXPECT_EQ(run.Status, 2) << query;
        EXPECT_EQ(run.Err, "kestrel-cli: " + reply.Refusal + "\n") << query;
    }
    EXPECT_EQ(AnswerSearchRequest(refused[11], nullptr).Refusal,
              "\"build\": 探索するビルドのコードを指定してください");
    EXPECT_EQ(AnswerSearchRequest(refused[12], nullptr).Refusal,
              "\"build\": ビルドコードが壊れています");
    const std::string query = build + "\"free\": [\"Caddie\"], \"results\": 3}";
    const SearchReply reply = AnswerSearchRequest(query, nullptr);
    ASSERT_TRUE(reply.Answer) << reply.Refusal;
    EXPECT_EQ(WithoutNodes(RunCli({"search", "-"}, query).Out), WithoutNodes(*reply.Answer + "\n"));
}

// `search --time-limit MS` stops a long search and prints what it found, not proved, with
// exit status 0; each answer shows its figures; a limit that is no whole number of
// milliseconds from 1 up is refused.
TEST(Cli, SearchStopsAtItsTimeLimit) {
    const std::string query =
        R"({"build": "B4RIIAAAAAAAAARKs4", "objective": "sum", "results": 3})";
    const CliRun run = RunCli({"search", "--time-limit", "150", "-"}, query);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"cancelled\": true,\n  \"proved\": false\n}"), std::string::npos)
        << run.Out;
    for (size_t at = run.Out.find("\"code\": \""); at != std::string::npos;
         at = run.Out.find("\"code\": \"", at + 1)) {
        const size_t from = at + 9;
        const std::string code = run.Out.substr(from, run.Out.find('"', from) - from);
        const CliRun shown = RunCli({"show", code});
        EXPECT_EQ(shown.Status, 0) << code;
    }
    for (const std::string limit : {"0", "-5", "1.5", "x", "86400001"}) {
        ExpectRefused(RunCli({"search", "--time-limit", limit, "-"}, query),
                      "kestrel-cli: --time-limit: ");
    }
    const CliRun quick = RunCli({"search", "--time-limit", "60000", "-"},
                                R"({"build": "B5RIIAAAAAAAAAIE_v", "free": ["SpecialCard"]})");
    EXPECT_EQ(quick.Status, 0) << quick.Err;
    EXPECT_NE(quick.Out.find("\"proved\": true"), std::string::npos);
}

// The example in docs/search.md is the output of its query file, but for the count of
// nodes, which changes with every improvement of the pruning (renew the example with
// build/cli/kestrel-cli search docs/search-example.json when the answers change). --help
// names where the package installs that file.
TEST(Cli, TheDocumentedExampleIsWhatTheProgramPrints) {
    const std::string docs = ReadBytes(KESTREL_DOCS "/search.md");
    const size_t marker = docs.find(
        "<!-- output of: kestrel-cli search "
        "/usr/share/doc/kestrel-simulator/search-example.json");
    ASSERT_NE(marker, std::string::npos);
    const size_t start = docs.find("```json\n", marker) + 8;
    const CliRun run = RunCli({"search", KESTREL_DOCS "/search-example.json"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(WithoutNodes(docs.substr(start, docs.find("```", start) - start)),
              WithoutNodes(run.Out));
    EXPECT_NE(RunCli({"--help"})
                  .Out.find(" /usr/share/doc/kestrel-simulator/search.md\n"
                            "  (例: kestrel-cli search "
                            "/usr/share/doc/kestrel-simulator/search-example.json)\n"),
              std::string::npos);
}
