#include "session/SendHistory.h"

#include "runtime/Failure.h"
#include "runtime/Runtime.h"
#include "session/MessageList.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>

namespace {

using Fate = ClaimRecord::Fate;

const QString lineEnd = QStringLiteral("\r\n");
const QChar byteOrderMark(0xFEFF);

QString when(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// A % followed by two hexadecimal digits reads as an escaped character.
bool readsAsEscape(QStringView text, qsizetype i)
{
    return text[i] == u'%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]);
}

// A field as the file holds it: whole on its line, whatever characters the name has.
void appendField(QString &out, QStringView text)
{
    const auto plain = [&](qsizetype i) {
        const char16_t c = text[i].unicode();
        return c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && !(c == u'%' && readsAsEscape(text, i));
    };
    // Nearly every field is plain throughout: taken whole.
    qsizetype i = 0;
    while (i < text.size() && plain(i))
        ++i;
    out += text.left(i);
    for (; i < text.size(); ++i) {
        if (plain(i))
            out += text[i];
        else
            out += u'%' + QString::number(text[i].unicode(), 16).toUpper().rightJustified(2, u'0');
    }
}

QString unfield(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (readsAsEscape(text, i)) {
            out += QChar(text.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// One line of fields, parted by tabs.
QString record(std::initializer_list<QStringView> fields)
{
    QString line;
    for (const QStringView &f : fields) {
        if (&f != fields.begin())
            line += u'\t';
        appendField(line, f);
    }
    return line;
}

template <typename Integer>
void appendNumber(QString &out, Integer n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out += QLatin1StringView(digits, end - digits);
}

void appendHex(QString &out, const QByteArray &bytes)
{
    static const char16_t hex[] = u"0123456789abcdef";
    QVarLengthArray<char16_t, 64> digits(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        digits[2 * i] = hex[uchar(bytes[i]) >> 4];
        digits[2 * i + 1] = hex[uchar(bytes[i]) & 0xF];
    }
    out += QStringView(digits.data(), digits.size());
}

// Another line of the text: the history has one for every claim, written straight into the text.
void newLine(QString &out)
{
    if (!out.isEmpty())
        out += lineEnd;
}

// Only a claim that went to a portal that opened is "sent as" its outbound name. at: when its
// submission began, formatted once for all its lines.
void appendLine(QString &out, const QString &at, const ClaimRecord &claim, QStringView state, bool toPortal)
{
    const bool copied = !claim.outbound.isEmpty() && claim.fate != Fate::Voided && claim.stamp.exists();
    newLine(out);
    appendField(out, at);
    out += u'\t';
    appendField(out, claim.name);
    out += u'\t';
    if (copied) {
        appendNumber(out, claim.stamp.size);
        out += u" bytes\tSHA-256 ";
        appendHex(out, claim.sha256);
    } else {
        out += u'\t';
    }
    out += u'\t';
    if (copied && toPortal) {
        out += u"sent as ";
        appendField(out, claim.outbound.text());
    }
    out += u'\t';
    if (copied) {
        out += u"kept as ";
        appendField(out, claim.backup.text());
    }
    out += u'\t';
    appendField(out, state);
}

// A claim's line in the journal: its status as copied, its digest, and its three names.
void appendJournalLine(QString &out, const ClaimRecord &claim)
{
    const FileAccess::Stamp &stamp = claim.stamp;
    newLine(out);
    appendNumber(out, stamp.size);
    out += u' ';
    appendNumber(out, stamp.modified);
    out += u' ';
    appendNumber(out, stamp.volume);
    out += u' ';
    appendNumber(out, stamp.file);
    out += u' ';
    appendNumber(out, stamp.changed);
    out += u'\t';
    appendHex(out, claim.sha256);
    for (const QString *name : {&claim.name, &claim.outbound.text(), &claim.backup.text()}) {
        out += u'\t';
        appendField(out, *name);
    }
}

QString ending(const ClaimRecord &claim)
{
    switch (claim.fate) {
    case Fate::Sent:
        return QStringLiteral("sent; taken out of the claim folder");
    case Fate::GoneWhenFinished:
        return QStringLiteral("sent; no longer in the claim folder");
    case Fate::Voided:
        return QStringLiteral("voided before its copy; not sent");
    case Fate::GoneBeforePortal:
    case Fate::GoneAfterPortal:
        return QStringLiteral("removed by another program: ") + claim.why();
    default:
        return QStringLiteral("stays in the claim folder: ") + claim.why();
    }
}

// The text as lines in UTF-8, in one write: one submission's lines stand together, whoever else
// appends. Appended, or replacing the file whole.
bool write(Runtime &rt, const DosPath &path, bool replace, const QString &text, QString *error)
{
    const int number = rt.freeFile();
    if (!(replace ? rt.openForReplace(number, path, error) : rt.openForAppend(number, path, error)))
        return false;
    rt.writeUnicode(number);
    if (rt.writeLine(number, text, error))
        return rt.closeFile(number, error);
    rt.discardFile(number);
    return false;
}

// The history is UTF-8 with a byte-order mark, as Notepad saves it, so that every name stays as it
// is and Find finds it. One that an earlier version wrote in the code page is carried over once, whole.
bool append(Runtime &rt, const DosPath &path, const QString &text, QString *error)
{
    const Runtime::Stamp had = rt.stamp(path);
    if (had.exists() && had.size > 0) {
        const int number = rt.freeFile();
        if (!rt.openForInput(number, path, error))
            return false;
        QStringList earlier;
        QString read;
        const bool unicode = !rt.atEnd(number) && rt.isUnicode(number);
        while (!unicode && !rt.atEnd(number) && rt.readLine(number, &read))
            earlier << read;
        const QString failed = rt.readFailure(number);
        rt.closeFile(number);
        if (!failed.isEmpty())
            return failWith(error, failed);
        if (!unicode)
            return write(rt, path, true, byteOrderMark + (earlier << text).join(lineEnd), error);
        return write(rt, path, false, text, error);
    }
    return write(rt, path, false, byteOrderMark + text, error);
}

bool stampFrom(const QString &text, FileAccess::Stamp *stamp)
{
    const QStringList parts = text.split(u' ');
    bool ok[5] = {};
    if (parts.size() == 5) {
        *stamp = {parts[0].toLongLong(&ok[0]), parts[1].toLongLong(&ok[1]), parts[2].toULongLong(&ok[2]),
                  parts[3].toULongLong(&ok[3]), parts[4].toLongLong(&ok[4]), 0, {}};
    }
    return std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }) && stamp->exists();
}

// A bare file name, as the journal's claims are: nothing that leads out of the claim folder.
bool isBareName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'\\') && !name.contains(u'/')
        && !name.contains(u':');
}

// What a journal says, or why it cannot be read.
struct Journal
{
    QString damage;
    SendRequest request;
    QList<ClaimRecord> claims;
    bool portalOpened = false;
};

Journal readJournal(Runtime &rt, const OwnFolders &own)
{
    Journal journal;
    journal.request.own = own;
    const int number = rt.freeFile();
    QStringList lines;
    if (!rt.openForInput(number, own.journal(), &journal.damage))
        return journal;
    QString text;
    while (!rt.atEnd(number) && rt.readLine(number, &text))
        lines << text;
    journal.damage = rt.readFailure(number);
    const bool unicode = rt.isUnicode(number);
    rt.closeFile(number);
    if (!journal.damage.isEmpty())
        return journal;
    if (lines.isEmpty()) {
        journal.damage = QStringLiteral("it is empty");
        return journal;
    }
    // Its start, its claims, the count that ends them, and the portal's start if it came.
    const QStringList head = lines[0].split(u'\t');
    journal.request.at = QDateTime::fromString(head.value(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    journal.request.claims = rt.pin(rt.path(unfield(head.value(1))));
    qsizetype end = 1;
    while (end < lines.size() && !lines[end].startsWith(QStringLiteral("end\t")))
        ++end;
    bool counted = false;
    const qsizetype count = lines.value(end).mid(4).toLongLong(&counted);
    const QStringList tail = lines.mid(end + 1);
    bool whole = unicode && head.size() == 2 && journal.request.at.isValid() && counted && count == end - 1
        && (tail.isEmpty() || (tail.size() == 1 && tail[0].startsWith(QStringLiteral("portal opened\t"))));
    for (qsizetype i = 1; whole && i < end; ++i) {
        const QStringList parts = lines[i].split(u'\t');
        ClaimRecord claim{unfield(parts.value(2)), rt.path(unfield(parts.value(3)), own.base),
                          rt.path(unfield(parts.value(4)), own.base), {}, Fate::Going, {}, QByteArray::fromHex(parts.value(1).toLatin1())};
        whole = parts.size() == 5 && stampFrom(parts[0], &claim.stamp) && claim.sha256.size() == 32 && isBareName(claim.name);
        journal.claims << claim;
    }
    journal.portalOpened = tail.size() == 1;
    if (!whole)
        journal.damage = QStringLiteral("it is not whole, or not one this version of QRNWeb wrote");
    return journal;
}

} // namespace

bool SendHistory::begin(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims, QString *error)
{
    const QString at = when(request.at);
    QString lines = record({at, QStringLiteral("Send Claims from %1%2 for site id %3, format code %4")
                                    .arg(request.claims.text(), request.fileSpec, request.siteId, request.format)});
    QString journal = byteOrderMark + record({at, request.claims.text()});
    lines.reserve(lines.size() + claims.size() * 160);
    journal.reserve(journal.size() + claims.size() * 160);
    qsizetype going = 0;
    for (const ClaimRecord &claim : claims) {
        appendLine(lines, at, claim, claim.going() ? QStringLiteral("to the portal") : ending(claim), claim.going());
        if (claim.going()) {
            appendJournalLine(journal, claim);
            ++going;
        }
    }
    journal += lineEnd + record({QStringLiteral("end"), QString::number(going)});
    QString why;
    const DosPath history = request.own.history(), sending = request.own.journal();
    if (!append(rt, history, lines, &why))
        return failWith(error, QStringLiteral("The history %1 could not be written: %2").arg(history.text(), why));
    // The journal is on disk, whole, before the portal opens.
    if (!write(rt, sending, true, journal, &why))
        return failWith(error, QStringLiteral("The journal %1 could not be written: %2").arg(sending.text(), why));
    return true;
}

bool SendHistory::portalOpened(Runtime &rt, const SendRequest &request, QString *error)
{
    return write(rt, request.own.journal(), false, record({QStringLiteral("portal opened"), when(rt.host().now())}), error);
}

void SendHistory::end(Runtime &rt, const SendRequest &request, const QList<ClaimRecord> &claims)
{
    QString lines;
    lines.reserve(claims.size() * 160);
    const QString at = when(request.at);
    for (const ClaimRecord &claim : claims)
        appendLine(lines, at, claim, ending(claim), claim.wentToPortal());
    // Only once the removals are on disk and the end is told may the journal go; otherwise the
    // next start finishes it.
    if (rt.syncToDisk({request.claims}) && append(rt, request.own.history(), lines, nullptr))
        rt.deleteFile(request.own.journal());
}

bool SendHistory::cutOff(Runtime &rt, const OwnFolders &own)
{
    const DosPath journal = own.journal();
    const Runtime::Stamp stamp = rt.stamp(journal);
    return stamp.exists() || stamp.unknown() || rt.isReadableFolder(journal);
}

SendHistory::Finished SendHistory::finishCutOff(Runtime &rt, const OwnFolders &own)
{
    if (!cutOff(rt, own))
        return {};
    Journal journal = readJournal(rt, own);
    const SendRequest &request = journal.request;
    const QString name = own.journal().text(), baseFolder = own.base.text();
    // Taken for no journal, it would be replaced, and the claims it names could go twice or never.
    if (!journal.damage.isEmpty()) {
        return {QStringLiteral("QRNWeb's record of an earlier Send Claims, %1, cannot be read: %2. It is left as it is, and no "
                               "claim file is sent or taken out of the claim folder while it is there. Compare the claim folder "
                               "with the history %3 and the backups in %5, remove from the claim folder the claim "
                               "files that were uploaded in the portal, then move %1 out of the folder %4log\\ and press Send "
                               "Claims again.")
                    .arg(name, journal.damage, own.history().text(), baseFolder, own.shown(own.backups)),
                true};
    }
    const QString at = request.at.toString(QStringLiteral("MM-dd-yyyy")), time = request.at.toString(QStringLiteral("HH:mm:ss"));
    // Cut off before the browser's start was on disk: whether a portal opened cannot be known, and
    // a claim taken out unsent would be gone from the practice's sight. They stay, and go again.
    if (!journal.portalOpened) {
        for (ClaimRecord &claim : journal.claims) {
            claim.fate = Fate::PortalUnknown;
            rt.deleteFile(claim.outbound);
        }
        end(rt, request, journal.claims);
        return {QStringLiteral("The Send Claims of %1 at %2 was cut off before QRNWeb knew whether the portal opened. Its claim "
                               "files were left in the claim folder and go with the next Send Claims; if they were uploaded "
                               "in the portal already, remove them from the claim folder first, or they will be sent twice.")
                    .arg(at, time)};
    }
    QStringList stayed;
    QString kept;
    bool removedNow = false;
    const QString finishing = QStringLiteral("Finishing the Send Claims of ") + at + QStringLiteral(" at ") + time
        + QStringLiteral(": claim %1 of %2");
    for (qsizetype i = 0; i < journal.claims.size(); ++i) {
        ClaimRecord &claim = journal.claims[i];
        rt.progress(finishing, i, journal.claims.size());
        kept = claim.backup.text().left(claim.backup.text().lastIndexOf(u'\\') + 1);
        claim.takeOut(rt, request.claim(claim.name));
        removedNow = removedNow || claim.fate == Fate::Sent;
        // Most likely by the run that was cut off; which program took it cannot be known.
        if (claim.fate == Fate::GoneAfterPortal)
            claim.fate = Fate::GoneWhenFinished;
        if (claim.stays())
            stayed << QStringLiteral("%1 (%2)").arg(claim.name, claim.why());
    }
    rt.progress({}, 0, 0);
    end(rt, request, journal.claims);
    // Cut off after its removals, only its history was left to complete.
    if (!removedNow && stayed.isEmpty())
        return {};
    QString message = QStringLiteral("The Send Claims of %1 at %2 was cut off after the portal opened. Its claim files are "
                                     "out of the claim folder now; their copies are in %3 and %4%5.")
                          .arg(at, time, own.shown(own.outbound), baseFolder, kept);
    if (!stayed.isEmpty())
        message += QStringLiteral("\n\nThese claim files stayed in the claim folder:\n") + MessageList::shortened(stayed, nullptr);
    return {message};
}

void SendHistory::portalOnOutbound(Runtime &rt, const OwnFolders &own, const QString &command, const QDateTime &at,
                                   const QString &siteId)
{
    const QStringList names = rt.findAll(own.outbound / QStringLiteral("*.*"));
    const QString held = names.isEmpty() ? QStringLiteral("nothing")
        : names.size() == 1              ? QStringLiteral("1 file")
                                         : QStringLiteral("%1 files").arg(names.size());
    QStringList lines{record({when(at), QStringLiteral("%1 opened the portal for site id %2 on the outbound folder %3%4, which held %5")
                                            .arg(command, siteId, own.base.text(), own.outbound.text(), held)})};
    for (const QString &name : names) {
        qint64 size = 0;
        QString why;
        const DosPath file = own.outbound / name;
        const QByteArray sha = rt.digest(file, &size, &why);
        lines << record({when(at), file.text(), sha.isEmpty() ? QString() : QStringLiteral("%1 bytes").arg(size),
                         sha.isEmpty() ? QStringLiteral("unreadable: ") + why : QStringLiteral("SHA-256 ") + QString::fromLatin1(sha.toHex()),
                         QStringLiteral("in the outbound folder as the portal opened")});
    }
    append(rt, own.history(), lines.join(lineEnd), nullptr);
}
