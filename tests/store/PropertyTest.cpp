// Random inputs from a fixed start value, so that a failure can be repeated: a few hundred byte
// strings through the line splitter, and random files through setting lookup and update.
#include "TempDir.h"
#include "store/LineArray.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace {

using Random = std::mt19937;
constexpr Random::result_type StartValue = 20261208;

// Bytes rich in line ends, NULs and high bytes.
std::string randomBytes(Random& random, std::size_t maxLength) {
    static const char Alphabet[] = {'a', 'b', '=', ' ', '\r', '\n', '\0', '\xE9', '\xFF'};
    std::string bytes(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), 'a');
    for (char& c : bytes)
        c = Alphabet[std::uniform_int_distribution<std::size_t>(0, sizeof Alphabet - 1)(random)];
    return bytes;
}

// The bytes as a save writes them back: every CR LF, lone CR and lone LF becomes CR LF, and a
// last line without an end gets one. Byte by byte, as plainly as it can be said.
std::string withCrLfEnds(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            out += "\r\n";
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += bytes[i];
        }
    }
    if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n')
        out += "\r\n";
    return out;
}

TEST(LineSplitProperty, joiningWhatWasSplitGivesTheBytesWithCrLfEnds) {
    Random random(StartValue);
    for (int run = 0; run < 3000; ++run) {
        // Every other run puts a long line first, so that lines span the pieces the walk
        // looks at together.
        const std::string bytes =
            std::string(run % 2 ? random() % 48 : 0, 'x') + randomBytes(random, 64);
        const LineArray lines = splitLines(bytes);
        const std::string joined = withCrLfEnds(bytes);
        ASSERT_EQ(joinLines(lines), joined) << testing::PrintToString(bytes);
        ASSERT_TRUE(lines.joinsTo(joined));
        ASSERT_EQ(lines.joinsTo(bytes), bytes == joined);
        ASSERT_TRUE(lines.back().empty());
        // With a limit, the split stops one line past it.
        ASSERT_EQ(splitLines(std::make_shared<const ByteBlock>(bytes), 2).size(),
                  std::min<std::size_t>(lines.size(), 4));
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            ASSERT_EQ(lines[i].find_first_of("\r\n"), std::string::npos);
    }
}

TEST(SettingUpdateProperty, anUpdateChangesOnlyItsLineAndSurvivesASaveAndReload) {
    static const char* const Keys[] = {"Name=", "TimeLimit=", "bLogIPInChat=", "X="};
    Random random(StartValue);
    TempDir folder;
    Startup::SystemDir = folder.dir();
    for (int run = 0; run < 40; ++run) {
        // Five files of random lines, some of them key lines in random letter case.
        for (const auto& file : Startup::settingsFiles()) {
            std::string bytes;
            for (int line = std::uniform_int_distribution<int>(0, 8)(random); line > 0; --line) {
                std::string text = randomBytes(random, 12);
                if (random() % 3 == 0) {
                    std::string key = Keys[random() % std::size(Keys)];
                    for (char& c : key)
                        if (random() % 2)
                            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                    text = key + text;
                }
                bytes += text + "\r\n";
            }
            folder.write(file.fileName, bytes);
        }
        Startup::LoadIniFiles();
        Functions::OptionSettings = {};
        Functions::AllocateSetting();
        auto& record = Functions::OptionSettings[0];
        record.Key = Keys[random() % std::size(Keys)];
        Functions::LookUpSetting([](std::string_view) {});
        if (record.ArrayName.empty())
            continue;

        std::vector<LineArray> before;
        for (const auto& file : Startup::settingsFiles())
            before.push_back(*file.lines);
        std::string value = randomBytes(random, 10);
        std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
        record.Value = value;
        Functions::SettingIndexText = "0";
        Functions::StoreSetting();

        for (std::size_t f = 0; f < before.size(); ++f) {
            const LineArray& now = *Startup::settingsFiles()[f].lines;
            for (std::size_t i = 0; i < now.size(); ++i) {
                const bool updated = Startup::settingsFiles()[f].selector == record.ArrayName &&
                                     i == static_cast<std::size_t>(record.LineIndex);
                ASSERT_EQ(now[i],
                          updated ? std::string(before[f][i].substr(0, record.Key.size())) + value
                                  : before[f][i]);
            }
        }
        std::vector<LineArray> stored;
        for (const auto& file : Startup::settingsFiles())
            stored.push_back(*file.lines);
        Startup::SaveIniFiles();
        Startup::LoadIniFiles();
        for (std::size_t f = 0; f < stored.size(); ++f)
            ASSERT_EQ(*Startup::settingsFiles()[f].lines, stored[f]);
    }
}

} // namespace
