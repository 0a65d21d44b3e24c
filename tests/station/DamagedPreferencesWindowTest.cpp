// The main window started on a damaged tnpref.txt, as the operator meets it:
// the load sequence goes on with the defaults for what the file lacks, the
// log loads and takes contacts, the fault is named for the report made at the
// end of start-up, and the damaged file is kept, renamed, when the station
// dialog saves the preferences. One row for each way the file can fail (its
// contents, its reading, its absence); the forms of damage are DamagedPrefsTest's.
#include "MainWindowFixture.h"

namespace {

struct DamagedPrefsCase {
    const char* what;
    std::function<void(const QString& path)> make;
    const char* cause; // follows the file's path in the report
};

std::ostream& operator<<(std::ostream& out, const DamagedPrefsCase& c)
{
    return out << c.what;
}

const DamagedPrefsCase damagedPrefsCases[] = {
    {"garbage", [](const QString& p) { platform::writeFileAtomically(p, "<html><body>Not found</body></html>\r\n"); },
     " line 1: your call sign (OwnCall) is \"<html><body>Not found</body></html>\", not text in quotes"},
    {"11 MB", [](const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); f.resize(11 << 20); }, " is too large (11.0 MB"},
    {"missing", [](const QString& p) { QFile::remove(p); }, " was not found"},
};

class DamagedPreferences : public MainWindowTest, public ::testing::WithParamInterface<DamagedPrefsCase> {};

} // namespace

TEST_P(DamagedPreferences, TheLogStillLoadsTakesContactsAndTheFileIsKept)
{
    const DamagedPrefsCase& c = GetParam();
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    const QString path = work("tnpref.txt");
    c.make(path);
    const QByteArray before = fileBytes(path);
    const bool existed = QFileInfo::exists(path);
    scriptStation();

    ASSERT_TRUE(start());
    EXPECT_EQ(endedWith, -1);
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("1")) << "the log was loaded";
    EXPECT_FALSE(dialogs.messageTitles().contains(QStringLiteral("Error opeining file")));

    // Said for the report at the end of start-up: the file, the fault, and where the damaged copy went.
    const QStringList problems = window->session().takeFileProblems();
    ASSERT_FALSE(problems.isEmpty());
    EXPECT_TRUE(problems.front().startsWith(path + QLatin1String(c.cause))) << problems.front().toStdString();
    const QString aside = path + QStringLiteral(".damaged-20131214-090000");
    EXPECT_EQ(QFileInfo::exists(aside), existed);
    if (existed) {
        ASSERT_EQ(problems.size(), 2);
        EXPECT_TRUE(problems.back().contains(aside)) << problems.back().toStdString();
        EXPECT_EQ(fileBytes(aside), before) << "the damaged file is kept as it was";
    }
    // The station dialog's answers were saved in a sound new file.
    const auto saved = log::loadPrefs(paths.workingFolder());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->OwnCall, QStringLiteral("W3LPL"));
    EXPECT_EQ(saved->CurrentMode, QStringLiteral("CW"));

    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("W1AW  CT\n"));
    EXPECT_EQ(fileBytes(work("log.txt")).count("\r\n"), 2) << "a contact can be logged";
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("2"));
}

INSTANTIATE_TEST_SUITE_P(Forms, DamagedPreferences, ::testing::ValuesIn(damagedPrefsCases));
