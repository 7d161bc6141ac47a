// Feeds arbitrary bytes to tbs as standard input, to `tbs check -` and `tbs convert - -o -`, and
// holds the results against the reference reading rules: check's verdict must match what the
// reader takes, and whatever convert writes must be a file exactly as the editor writes it, and
// comes back byte for byte through `tbs link`. The bytes are also given as a link, which is
// refused in one line or gives a screen.
// Any disagreement aborts, so the fuzzer reports logic faults as well as memory errors.

#include "bootscreenreader.h"
#include "filewording.h"
#include "referenceformat.h"
#include "tbsrun.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using Run = TbsRun;

Run tbs(const QStringList &arguments, const QByteArray &input)
{
    return runTbsWith(arguments, input);
}

[[noreturn]] void fail(const char *what, const Run &run)
{
    std::fprintf(stderr, "%s: exit %d\nout: %s\nerr: %s\n", what, run.status,
                 run.out.left(2000).constData(), run.err.constData());
    std::abort();
}

// What the editor writes: 512 lines of a number 0-255 each, in its shortest spelling, CR LF.
bool isAsTheEditorWrites(const QByteArray &bytes, const bootscreen::ScreenBuffer &read)
{
    for (const std::int32_t entry : read)
        if (entry < 0 || entry > 255)
            return false;
    return bytes == reference::fileBytes(read);
}

void checkCheck(const QByteArray &bytes)
{
    bootscreen::ScreenBuffer read{};
    const int taken = reference::readInto(bytes, read, bootscreen::ReadByteCap);
    const int expected = taken == 0 ? 2 : isAsTheEditorWrites(bytes, read) ? 0 : 1;
    const Run run = tbs({QStringLiteral("check"), QStringLiteral("-")}, bytes);
    if (run.status != expected)
        fail("tbs check - gives another verdict than the reading rules", run);
    if ((run.status == 0) != run.out.isEmpty() || (run.status == 2) != !run.err.isEmpty())
        fail("tbs check - reports do not match its verdict", run);
}

void checkConvert(const QByteArray &bytes)
{
    const Run run = tbs(
        {QStringLiteral("convert"), QStringLiteral("-"), QStringLiteral("-o"), QStringLiteral("-")},
        bytes);
    if (run.status == 1) {
        if (!run.out.isEmpty() || run.err.count('\n') != 1)
            fail("a failed convert writes output or more than one line of error", run);
        return;
    }
    if (run.status != 0)
        fail("convert of standard input to standard output is no usage error", run);
    bootscreen::ScreenBuffer read{};
    if (reference::readInto(run.out, read, bootscreen::ReadByteCap) != bootscreen::EntryCount ||
        !isAsTheEditorWrites(run.out, read))
        fail("convert wrote a boot screen unlike the editor's", run);
    const Run link = tbs({QStringLiteral("link"), QStringLiteral("-")}, run.out);
    if (link.status != 0 || !link.out.endsWith('\n'))
        fail("a boot screen gives no link", link);
    const Run back = tbs({QStringLiteral("convert"), QString::fromLatin1(link.out.chopped(1)),
                          QStringLiteral("-o"), QStringLiteral("-")},
                         {});
    if (back.status != 0 || back.out != run.out)
        fail("a boot screen does not come back from its link", back);
}

void checkLink(const QByteArray &bytes)
{
    const QString link = QStringLiteral("#screen=") + QString::fromLatin1(bytes);
    const Run run =
        tbs({QStringLiteral("convert"), link, QStringLiteral("-o"), QStringLiteral("-")}, {});
    const QString refused = QStringLiteral("tbs: %1: %2\n")
                                .arg(link, QString::fromStdString(filewording::notAScreenLink()));
    if (run.status == 1 ? !run.out.isEmpty() || QString::fromUtf8(run.err) != refused
                        : run.status != 0 || run.out.size() < 512 * 3)
        fail("a link is neither refused in its words nor read", run);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Qt keeps a reference to the argument count, and must not see libFuzzer's flags.
    static int argumentCount = 1;
    static char programName[] = "fuzz_tbs_input";
    static char *arguments[] = {programName, nullptr};
    new QCoreApplication(argumentCount, arguments);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkCheck(bytes);
    checkConvert(bytes);
    checkLink(bytes);
    return 0;
}
