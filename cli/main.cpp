// kestrel-cli: the command-line face of the simulator.
//   kestrel-cli show CODE          the figures of a build code, as JSON
//   kestrel-cli search [--time-limit MS] QUERY.json
//                                  the answer of a build search (QUERY.json "-": standard
//                                  input); past MS milliseconds, the best found so far
// JSON goes to standard output; a message goes to standard error. Exit status: 0 done,
// 2 a query, a code or a command line that cannot be used, 1 anything else (the output
// could not be written).

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "search/search.h"
#include "search/search_json.h"
#include "search/search_request.h"
#include "simulator/build_code.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A query file is read up to this size; anything longer is refused by the reader anyway.
constexpr size_t kMaxReadBytes = 1024 * 1024;

constexpr std::string_view kUsage =
    "使い方: kestrel-cli show ビルドコード | kestrel-cli search [--time-limit ミリ秒] クエリ.json "
    "(- で標準入力) | kestrel-cli --help\n";

constexpr std::string_view kHelp =
    "ビルドコードの数値と、ビルド探索の答えを JSON で書き出します。\n"
    "  show ビルドコード    ビルドの最終ステータス、ペナルティ、1W の飛距離、PP\n"
    "                       (共有リンクならその # の後のコード)\n"
    "  search クエリ.json   クエリ (JSON) のビルド探索の答え; - なら標準入力から読みます\n"
    "    --time-limit ミリ秒  その時間で探索を打ち切り、それまでに見つけた答えを\n"
    "                         \"proved\": false として書き出します (終了コード 0)\n"
    "終了コード: 0 成功、2 読めないクエリ・コードや範囲外の値・使い方の誤り、1 出力の失敗\n"
    "クエリと答えの形式: " KESTREL_INSTALLED_DOCS
    "/search.md\n"
    "  (例: kestrel-cli search " KESTREL_INSTALLED_DOCS "/search-example.json)\n";

// An input the user can fix: the message goes to standard error, the exit status is 2.
struct UsageError {
    std::string Message;
};

void WriteError(std::string_view message) {
    std::fprintf(stderr, "kestrel-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

// Prints the JSON with a closing newline; false when standard output cannot take it.
bool PrintJson(const std::string& json) {
    const bool written = std::fwrite(json.data(), 1, json.size(), stdout) == json.size() &&
                         std::fputc('\n', stdout) != EOF;
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

int Show(std::string_view code) {
    TSimulator sim;
    try {
        sim = ShownBuild(code, "");
    } catch (const ESimError& error) {
        throw UsageError{error.what()};
    }
    return PrintJson(FiguresJson(BuildOf(sim.State), FiguresOf(sim))) ? 0 : kExitFailure;
}

std::string ReadQuery(const std::string& path) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "標準入力" : path;
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw UsageError{name + " を読めません (" + std::strerror(errno) + ")"};
    }
    std::string text;
    char buffer[65536];
    size_t got = 0;
    while (text.size() <= kMaxReadBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (!standardInput) {
        std::fclose(file);
    }
    if (failed) {
        throw UsageError{name + " を読めません (" + std::strerror(error) + ")"};
    }
    return text;
}

// The milliseconds of --time-limit: a whole number from 1 to 86,400,000 (a day).
int64_t TimeLimit(std::string_view text) {
    int64_t ms = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
    if (error != std::errc{} || end != text.data() + text.size() || ms < 1 || ms > 86'400'000) {
        throw UsageError{"--time-limit: 1 から 86400000 までのミリ秒を指定してください"};
    }
    return ms;
}

int Search(const std::string& path, std::optional<int64_t> limitMs) {
    const std::string text = ReadQuery(path);
    // Past the time limit the search stops and the answer says it is not proved.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs.value_or(0));
    SearchControl control;
    if (limitMs) {
        control.Cancelled = [deadline] { return std::chrono::steady_clock::now() >= deadline; };
    }
    const SearchReply reply = AnswerSearchRequest(text, &control);
    if (!reply.Answer) {
        throw UsageError{reply.Refusal};
    }
    return PrintJson(*reply.Answer) ? 0 : kExitFailure;
}

int Run(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (argc == 2 && (command == "--help" || command == "-h")) {
        const std::string text = std::string(kUsage) + std::string(kHelp);
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : kExitFailure;
    }
    if (argc == 3 && command == "show") {
        return Show(argv[2]);
    }
    if (argc == 3 && command == "search") {
        return Search(argv[2], std::nullopt);
    }
    if (argc == 5 && command == "search" && std::string_view(argv[2]) == "--time-limit") {
        return Search(argv[4], TimeLimit(argv[3]));
    }
    std::fputs(kUsage.data(), stderr);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const int status = Run(argc, argv);
        if (status == kExitFailure) {
            WriteError("標準出力に書き込めません");
        }
        return status;
    } catch (const UsageError& error) {
        WriteError(error.Message);
        return kExitUsage;
    } catch (const std::exception& error) {
        WriteError(error.what());
        return kExitFailure;
    }
}
