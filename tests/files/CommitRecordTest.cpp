// A commit record is followed only when it is whole and names nothing but the settings files
// and its own save's files beside them.
#include "files/CommitRecord.h"
#include "files/FileIo.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::vector<std::string> FileNames = {"QLLoadouts.ini", "QuillonMod.ini"};

CommitEntry entry(const std::string& file, const std::string& target = {}) {
    const std::string to = target.empty() ? file : target;
    return {
        file, to,    to + ".quillon-new-4242-a1B2", to + ".quillon-old-4242-a1B2", 12, 0xbeef, true,
        17,   0xfeed};
}

// The text with the first occurrence of from replaced.
std::string withLine(const std::string& text, const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
}

TEST(CommitRecord, aRecordThatIsNotWholeOrNamesOtherFilesIsRefused) {
    const std::string good = commitRecordText(std::vector{entry("QLLoadouts.ini")});
    const std::string body = good.substr(0, good.rfind("end "));
    // The body with one line changed, and an end line that fits it: only what it says is wrong.
    const auto sealed = [&body](const std::string& from, const std::string& to) {
        const std::string text = withLine(body, from, to);
        char end[32];
        std::snprintf(end, sizeof end, "end %016llx\n",
                      static_cast<unsigned long long>(hashOf(text)));
        return text + end;
    };
    const std::string temporary = "new QLLoadouts.ini.quillon-new-4242-a1B2";
    const struct {
        const char* what;
        std::string text;
        const char* why;
    } cases[] = {
        {"a changed byte", withLine(good, "size 17", "size 18"), "not whole"},
        {"a line missing", sealed("target QLLoadouts.ini\n", ""), "no \"target\" line"},
        {"another file", sealed("file QLLoadouts.ini", "file User.ini"), "not one of"},
        {"a file outside the folder", sealed("file QLLoadouts", "file ../QLLoadouts"),
         "not one of"},
        {"a file twice",
         commitRecordText(std::vector{entry("QLLoadouts.ini"), entry("QLLoadouts.ini")}), "twice"},
        {"a target in another folder", sealed("target QLLoadouts", "target ../QLLoadouts"),
         "no bare name"},
        {"a temporary of another process",
         sealed(temporary, "new QLLoadouts.ini.quillon-new-1-a1B2"), "no temporary of its own"},
        {"a temporary in another folder", sealed(temporary, "new ../" + temporary.substr(4)),
         "no temporary of its own"},
        {"an old copy of another save",
         sealed("old QLLoadouts.ini.quillon-old-4242-a1B2",
                "old QLLoadouts.ini.quillon-old-4242-b"),
         "no old copy of its own"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parseCommitRecord(c.text, 4242, FileNames);
            ADD_FAILURE() << "should be refused";
        } catch (const RecordRefused& e) {
            EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
        }
    }
    // Every record cut short is refused.
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_THROW(parseCommitRecord(good.substr(0, size), 4242, FileNames), RecordRefused)
            << size;
}

} // namespace
