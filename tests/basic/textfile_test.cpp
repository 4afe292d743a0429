#include "basic/cpu.h"
#include "basic/encoding.h"
#include "basic/fileio.h"
#include "basic/textfile.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <random>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "tests/support/cp932_text.h"

namespace vx::basic {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kJapanese = "現在の状態を保存しますか？";

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "velvox-basic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    void writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    std::string readBytes(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    Lines readLines(const std::string& name) const
    {
        const auto result = readTextLines(path(name));
        EXPECT_TRUE(result.ok) << result.error;
        return result.lines;
    }

    fs::path dir_;
};

using test::toCp932;

TEST_F(TextFileTest, WriterEndsEveryLineWithCrLf)
{
    TextWriter writer(path("a.txt"));
    EXPECT_TRUE(writer.writeLine("0"));
    EXPECT_TRUE(writer.writeLine(""));
    EXPECT_TRUE(writer.writeLine("True"));
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(readBytes("a.txt"), "0\r\n\r\nTrue\r\n");
}

TEST_F(TextFileTest, WriterTruncatesAnExistingFile)
{
    writeBytes("a.txt", "a much longer old content\r\nline two\r\n");
    TextWriter writer(path("a.txt"));
    writer.writeLine("new");
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(readBytes("a.txt"), "new\r\n");
}

TEST_F(TextFileTest, WriterFlushesLargeOutputAndOnDestruction)
{
    const std::string line(1000, 'x');
    {
        TextWriter writer(path("big.txt"));
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(writer.writeLine(line));
    }
    EXPECT_EQ(readBytes("big.txt").size(), 200u * 1002u);
}

TEST_F(TextFileTest, WriterReportsAnUncreatableFile)
{
    TextWriter writer(path("missing/a.txt"));
    EXPECT_FALSE(writer.writeLine("x"));
    EXPECT_FALSE(writer.close());
    EXPECT_NE(writer.error().find("missing/a.txt"), std::string::npos) << writer.error();
}

TEST_F(TextFileTest, ReaderAcceptsEveryLineEnd)
{
    writeBytes("crlf.txt", "a\r\nb\r\n");
    writeBytes("lf.txt", "a\nb\n");
    writeBytes("cr.txt", "a\rb\r");
    writeBytes("open.txt", "a\r\nb");
    for (const char* name : {"crlf.txt", "lf.txt", "cr.txt", "open.txt"})
        EXPECT_EQ(readLines(name), (Lines{"a", "b"})) << name;
}

TEST_F(TextFileTest, ReaderKeepsEmptyLinesAndBlanks)
{
    writeBytes("a.txt", "\r\n  x \r\n\n\r\n");
    EXPECT_EQ(readLines("a.txt"), (Lines{"", "  x ", "", ""}));
    writeBytes("empty.txt", "");
    EXPECT_TRUE(readLines("empty.txt").empty());
}

TEST_F(TextFileTest, ReaderDropsUtf8ByteOrderMark)
{
    writeBytes("bom.txt", "\xEF\xBB\xBF" + kJapanese + "\r\n");
    const auto result = readTextLines(path("bom.txt"));
    EXPECT_EQ(result.lines, Lines{kJapanese});
    EXPECT_FALSE(result.wasLegacyEncoding);
}

TEST_F(TextFileTest, Utf8RoundTrip)
{
    const Lines lines{kJapanese, "C:\\曲\\テスト.mp3", "orange"};
    TextWriter writer(path("w.txt"));
    for (const auto& line : lines)
        writer.writeLine(line);
    ASSERT_TRUE(writer.close());
    const auto result = readTextLines(path("w.txt"));
    EXPECT_EQ(result.lines, lines);
    EXPECT_FALSE(result.wasLegacyEncoding);
}

TEST_F(TextFileTest, ReaderFallsBackToCp932)
{
    const std::string title = "ﾗﾝﾀﾞﾑ再生 ～ 曲①";
    writeBytes("old.lis", toCp932(kJapanese) + "\r\n" + toCp932(title) + "\r\n1\r\n");
    const auto result = readTextLines(path("old.lis"));
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.wasLegacyEncoding);
    EXPECT_EQ(result.lines, (Lines{kJapanese, title, "1"}));
}

TEST_F(TextFileTest, OneEncodingForTheWholeFile)
{
    // "ﾐｸ.wav" in CP932 is D0 B8 2E..., which alone is valid UTF-8 (the Cyrillic и). In a file
    // that is not UTF-8 as a whole it is CP932 like every other line.
    const Lines old{"/music/ﾐｸ.wav", "ﾐｸ.wav", "夏の終わり.mp3", "ﾄﾞﾗﾑ ｿﾛ.wav"};
    std::string bytes;
    for (const auto& line : old)
        bytes += toCp932(line) + "\r\n";
    ASSERT_EQ(toCp932("ﾐｸ"), "\xD0\xB8");
    writeBytes("old.lis", bytes);
    auto result = readTextLines(path("old.lis"));
    EXPECT_TRUE(result.wasLegacyEncoding);
    EXPECT_EQ(result.lines, old);

    // The same letters in a UTF-8 file, with or without a byte-order mark, stay UTF-8, and so
    // does a Cyrillic name whose bytes would also be CP932 katakana.
    const Lines current{"/music/и.wav", "ﾐｸ.wav", "夏の終わり.mp3"};
    std::string utf8;
    for (const auto& line : current)
        utf8 += line + "\r\n";
    for (const std::string& text : {utf8, "\xEF\xBB\xBF" + utf8}) {
        writeBytes("new.lis", text);
        result = readTextLines(path("new.lis"));
        EXPECT_FALSE(result.wasLegacyEncoding);
        EXPECT_EQ(result.lines, current);
    }
}

TEST(DecodeText, AByteOrderMarkBeforeBytesThatAreNotUtf8IsDroppedAndTheRestIsCp932)
{
    bool legacy = false;
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + toCp932("曲") + "\r\nabc", &legacy), "曲\r\nabc");
    EXPECT_TRUE(legacy);
}

// Bytes handed over and bytes only looked at decode alike, the mark dropped in both.
TEST(DecodeText, TakingTheBytesOverDecodesAsReadingThem)
{
    for (const std::string& bytes : {std::string("\xEF\xBB\xBF夜の曲\r\n"), std::string("夜の曲"), toCp932("夜の曲"), std::string()}) {
        bool viewed = false, taken = true;
        const std::string expected = decodeText(std::string_view(bytes), &viewed);
        EXPECT_EQ(decodeText(std::string(bytes), &taken), expected);
        EXPECT_EQ(taken, viewed);
    }
    EXPECT_EQ(decodeText(std::string("\xEF\xBB\xBF夜")), "夜");
}

TEST(ToValidUtf8, ReplacesOnlyTheBytesThatStartNoSequence)
{
    EXPECT_EQ(toValidUtf8("ab曲"), "ab曲");
    EXPECT_EQ(toValidUtf8("a\xFF\xC3\xA9\xE6\x9B"), "a\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(isValidUtf8(toValidUtf8("\x8B\xC8.mp3")));
}

TEST_F(TextFileTest, UndecodableBytesBecomeReplacementCharacters)
{
    // A CP932 lead byte cut off by the end of the file decodes in neither encoding.
    writeBytes("bad.txt", toCp932("曲") + "\r\nabc\x82");
    const auto result = readTextLines(path("bad.txt"));
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.wasLegacyEncoding);
    EXPECT_EQ(result.lines, (Lines{"曲", "abc\xEF\xBF\xBD"}));
}

TEST_F(TextFileTest, MissingFileIsAnErrorNotAThrow)
{
    const auto result = readTextLines(path("nothing.ini"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_NE(result.error.find("nothing.ini"), std::string::npos) << result.error;
    const auto folder = readTextLines(dir_.string());
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.error.empty());
}

TEST_F(TextFileTest, AtomicWriteReplacesTheFile)
{
    writeBytes("velvoxp.ini", "old\r\n");
    std::string error;
    ASSERT_TRUE(writeTextLinesAtomic(path("velvoxp.ini"), {"0", "0", kJapanese}, &error)) << error;
    EXPECT_EQ(readBytes("velvoxp.ini"), "0\r\n0\r\n" + kJapanese + "\r\n");
    EXPECT_FALSE(fs::exists(path("velvoxp.ini.tmp")));
}

TEST_F(TextFileTest, AtomicWriteKeepsTheOldFileWhenTheFolderIsReadOnly)
{
    writeBytes("velvoxp.ini", "old\r\n");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir_.c_str(), W_OK) == 0)
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    std::string error;
    EXPECT_FALSE(writeTextLinesAtomic(path("velvoxp.ini"), {"new"}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readBytes("velvoxp.ini"), "old\r\n");
    EXPECT_FALSE(fs::exists(path("velvoxp.ini.tmp")));
}

TEST_F(TextFileTest, AtomicWriteFailsWhenTheTargetCannotBeReplaced)
{
    // The temporary file can be written, but a folder cannot be renamed over by a file.
    fs::create_directory(path("target"));
    std::string error;
    EXPECT_FALSE(writeTextLinesAtomic(path("target"), {"x"}, &error));
    EXPECT_NE(error.find("target"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(path("target")));
    EXPECT_FALSE(fs::exists(path("target.tmp")));
}

TEST(Encoding, Utf8ValidationIsStrict)
{
    EXPECT_TRUE(isValidUtf8(kJapanese));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xB5"));    // U+1F3B5
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));           // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));       // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));   // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));           // cut short
    EXPECT_FALSE(isValidUtf8(toCp932(kJapanese)));
}


// Files are read into a string sized from their length; files that report none (the kernel's
// own) or are empty must still come whole.
TEST_F(TextFileTest, WholeFilesComeWholeWhateverLengthTheyReport)
{
    std::string big(200'003, 'x');
    for (size_t i = 0; i < big.size(); i += 7)
        big[i] = static_cast<char>('a' + i % 26);
    writeBytes("big.bin", big);
    writeBytes("empty.bin", "");
    std::string bytes, error;
    ASSERT_TRUE(detail::readWholeFile(path("big.bin"), bytes, error)) << error;
    EXPECT_EQ(bytes, big);
    ASSERT_TRUE(detail::readWholeFile(path("empty.bin"), bytes, error)) << error;
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(detail::readWholeFile("/proc/self/status", bytes, error)) << error;
    EXPECT_NE(bytes.find("\nPid:"), std::string::npos);
    EXPECT_FALSE(detail::readWholeFile(path("missing.bin"), bytes, error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos);
}

// Line ends are found 64 bytes at a time: a CR LF split across two such pieces, lines longer
// than a piece and text ending inside one must all split as a byte-by-byte reading would.
TEST(LineSplitter, SplitsAlikeWhereverTheLineEndsFall)
{
    const auto split = [](const std::string& text) {
        Lines lines;
        vx::basic::LineSplitter in(text);
        for (std::string line; in.next(line);)
            lines.push_back(line);
        return lines;
    };
    for (size_t before = 0; before < 140; ++before)
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const std::string first(before, 'x');
            EXPECT_EQ(split(first + end + "y" + end + end + "z"), (Lines{first, "y", "", "z"})) << before;
        }
    std::mt19937 rng(3);
    Lines lines;
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        lines.emplace_back(1 + rng() % 90, 'a');  // never empty: CR then an empty LF line would read as CR LF
        text += lines.back() + (std::array<const char*, 3>{"\r\n", "\n", "\r"})[rng() % 3];
    }
    EXPECT_EQ(split(text), lines);
}

// Lines are also split in bulk, 64 bytes of line ends at a time, by a kernel chosen for the
// processor. Every kernel this machine can run must give the spans the line by line reading
// gives, whatever the batch sizes, with empty lines, lone CRs and LFs, and CR LFs split across
// pieces, and must leave the splitter where the line by line reading would.
TEST(LineSplitter, BulkSplittingMatchesLineByLineForEveryKernel)
{
    std::mt19937 rng(11);
    constexpr std::array<const char*, 5> kEnds{"\r\n", "\n", "\r", "\r\n", "\n\r"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int lines = 1 + static_cast<int>(rng() % 120);
        for (int i = 0; i < lines; ++i) {
            const size_t length = rng() % 4 == 0 ? 0 : rng() % (rng() % 2 ? 8 : 150);
            for (size_t k = 0; k < length; ++k)
                text += static_cast<char>(rng() % 7 == 0 ? '\xE3' : 'a' + rng() % 26);
            if (i + 1 < lines || rng() % 2)
                text += kEnds[rng() % kEnds.size()];
        }
        std::vector<std::pair<size_t, size_t>> expected;
        LineSplitter byLine(text);
        for (std::string_view line; byLine.next(line);)
            expected.emplace_back(static_cast<size_t>(line.data() - text.data()), line.size());

        for (const detail::SplitKernel kernel : detail::splitKernels()) {
            std::vector<std::pair<size_t, size_t>> got;
            size_t at = 0;
            LineSpan out[256];
            for (;;) {
                const size_t want = 1 + rng() % (rng() % 2 ? 5 : 200);
                const detail::SplitResult r = kernel(text, at, out, want);
                for (size_t i = 0; i < r.taken; ++i)
                    got.emplace_back(out[i].at, out[i].size);
                at = r.next;
                if (r.taken < want)
                    break;
            }
            ASSERT_EQ(got, expected) << "round " << round;
            EXPECT_EQ(at, text.size());
        }
        // The splitter's own bulk call, taken turn about with single lines.
        LineSplitter mixed(text);
        std::vector<std::pair<size_t, size_t>> got;
        for (bool bulk = false;; bulk = !bulk) {
            LineSpan out[7];
            std::string_view line;
            if (bulk) {
                const size_t taken = mixed.nextSpans(out, 7);
                for (size_t i = 0; i < taken; ++i)
                    got.emplace_back(out[i].at, out[i].size);
                if (taken < 7)
                    break;
            } else if (mixed.next(line)) {
                got.emplace_back(static_cast<size_t>(line.data() - text.data()), line.size());
            } else {
                break;
            }
        }
        ASSERT_EQ(got, expected) << "round " << round;
    }
}

// ASCII is passed over 64 bytes at a time: a sequence or a bad byte anywhere around those
// pieces must be judged as it would be alone.
TEST(Encoding, Utf8ValidationSeesEveryByteAroundTheAsciiPieces)
{
    for (size_t at = 0; at < 200; ++at) {
        std::string text(260, 'a');
        for (const std::string_view good : {"\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x8E\xB5"}) {
            std::string t = text;
            t.replace(at, good.size(), good);
            EXPECT_TRUE(isValidUtf8(t)) << at;
        }
        for (const std::string_view bad : {"\x80", "\xE3\x81", "\xC0\xAF", "\xFF"}) {
            std::string t = text;
            t.replace(at, bad.size(), bad);
            EXPECT_FALSE(isValidUtf8(t)) << at;
        }
    }
}

// On processors with AVX2, UTF-8 is judged 32 bytes at a time by table lookups. It must agree
// with the byte by byte check on every text: sequences of every length at the edges of their
// ranges, straddling the 32-byte blocks anywhere, and damaged in every way (bytes changed,
// removed, cut off at the end).
TEST(Encoding, Utf8ValidationAgreesByteByByteAndInBlocks)
{
    if (!cpuHasAvx2())
        GTEST_SKIP() << "this processor has no AVX2";
    const auto encode = [](uint32_t c) {
        std::string s;
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | c >> 6);
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += static_cast<char>(0xE0 | c >> 12);
            s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | c >> 18);
            s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
        return s;
    };
    constexpr std::array<uint32_t, 14> kEdges{0x41, 0x7F, 0x80, 0x7FF, 0x800, 0x3042, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x1F3B5, 0x10FFFF, 0x0A};
    std::mt19937 rng(29);
    int valid = 0, invalid = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string text;
        const size_t length = rng() % 160;
        while (text.size() < length)
            text += rng() % 3 ? encode(kEdges[rng() % kEdges.size()]) : std::string(1 + rng() % 40, 'a');
        switch (rng() % 5) {
        case 0: if (!text.empty()) text[rng() % text.size()] = static_cast<char>(rng()); break;
        case 1: if (!text.empty()) text.erase(rng() % text.size(), 1); break;
        case 2: text.resize(rng() % (text.size() + 1)); break;
        case 3: text.insert(rng() % (text.size() + 1), 1, static_cast<char>(0x80 + rng() % 0x80)); break;
        default: break;
        }
        const bool expected = detail::isValidUtf8Bytewise(text);
        ASSERT_EQ(detail::isValidUtf8Avx2(text), expected) << "round " << round;
        (expected ? valid : invalid)++;
    }
    EXPECT_GT(valid, 10000);
    EXPECT_GT(invalid, 10000);
    // Each strict fault, placed around a block edge.
    for (const std::string_view bad : {"\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
                                       "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\x80", "\xE3\x81"}) {
        for (size_t at = 28; at < 36; ++at) {
            std::string t(70, 'a');
            t.replace(at, bad.size(), bad);
            EXPECT_FALSE(detail::isValidUtf8Avx2(t)) << at;
            EXPECT_FALSE(detail::isValidUtf8Avx2(std::string(64 - bad.size(), 'a') + std::string(bad))) << bad.size();
        }
    }
}

}  // namespace
}  // namespace vx::basic
