#include "platform/SingleInstance.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the process holds a file lock on the file, as the kernel lists locks in /proc/locks.
bool holdsLockOn(qint64 pid, const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(st.st_ino));
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // "1: FLOCK  ADVISORY  WRITE 1234 fe:00:5678 0 EOF"
        if (fields.size() >= 6 && fields[1] == "FLOCK" && fields[4].toLongLong() == pid &&
            fields[5].endsWith(inode))
            return true;
    }
    return false;
}

} // namespace

// Starts the real program, as a user would, on the offscreen platform.
class StartTwiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(runtimeDir.isValid());
        QVERIFY(prefixDir.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        environment.insert(QStringLiteral("WINEPREFIX"), prefixDir.path());
        lockFile = runtimeDir.filePath(QStringLiteral("%1-%2.lock")
                                           .arg(QString::fromLatin1(SingleInstance::ProgramName))
                                           .arg(::getuid()));
    }

    void secondStartEndsSilentlyAndAKilledFirstNeverBlocks() {
        QProcess first;
        start(first);
        QTRY_VERIFY_WITH_TIMEOUT(holdsLockOn(first.processId(), lockFile), 20000);

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAll(), QByteArray()); // not a word, on either channel
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(holdsLockOn(first.processId(), lockFile));

        first.kill(); // SIGKILL: the program cleans up nothing
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(lockFile)); // left behind

        QProcess third;
        start(third);
        QTRY_VERIFY_WITH_TIMEOUT(holdsLockOn(third.processId(), lockFile), 20000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        third.waitForFinished(10000);
    }

private:
    void start(QProcess& process) const {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(QUILLON_TOOL_PATH), {});
        QVERIFY(process.waitForStarted(10000));
    }

    QTemporaryDir runtimeDir;
    QTemporaryDir prefixDir;
    QProcessEnvironment environment;
    QString lockFile;
};

QTEST_MAIN(StartTwiceTest)
#include "StartTwiceTest.moc"
