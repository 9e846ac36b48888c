#include "pdftext/pdftext.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace pdftext {

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString unescape(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

// Each run of spaces and tabs as one space. A needle keeps a blank at its end ("Mitglied "
// finds "Mitglied 7", not "Mitglieder").
QString collapsed(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    QString s = text;
    s.replace(blanks, QStringLiteral(" "));
    return s;
}

} // namespace

bool Available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QString SingleSpaced(const QString &text)
{
    static const QRegularExpression lineEnds(QStringLiteral(" (?=\\n|$)"));
    QString s = collapsed(text);
    s.replace(lineEnds, QString());
    return s;
}

QStringList Pages(const QString &pdf)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &page : pages)
        page = SingleSpaced(page);
    return pages;
}

QString Text(const QString &pdf)
{
    return Pages(pdf).join(QLatin1Char('\n'));
}

int PageCount(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const auto m = pages.match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<Word> Words(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                                           QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    int page = -1;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        Word w;
        w.page = page;
        w.box = QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        w.text = unescape(m.captured(5));
        words << w;
    }
    return words;
}

QStringList Overlaps(const QList<Word> &words, double tolerance)
{
    QStringList found;
    // Words come page by page: compare each only with the words of its own page.
    for (int i = 0; i < words.size(); ++i) {
        for (int j = i + 1; j < words.size() && words.at(j).page == words.at(i).page; ++j) {
            const Word &a = words.at(i);
            const Word &b = words.at(j);
            const QRectF x = a.box.intersected(b.box);
            if (x.width() > tolerance && x.height() > tolerance)
                found << QStringLiteral("page %1: '%2' over '%3'").arg(a.page + 1).arg(a.text, b.text);
        }
    }
    return found;
}

std::string NotInOrder(const QString &text, const QStringList &needles)
{
    const QString spaced = SingleSpaced(text);
    qsizetype from = 0;
    for (const QString &needle : needles) {
        const QString n = collapsed(needle);
        const qsizetype at = spaced.indexOf(n, from);
        if (at < 0)
            return n.toStdString();
        from = at + n.size();
    }
    return std::string();
}

int Count(const QString &text, const QString &needle)
{
    const QString spaced = SingleSpaced(text);
    const QString n = collapsed(needle);
    if (n.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = spaced.indexOf(n); at >= 0; at = spaced.indexOf(n, at + n.size()))
        ++count;
    return count;
}

} // namespace pdftext
