#include "platform/qt/help_catalogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace tosbel {

namespace {

QString firstMatch(const QString& html, const QRegularExpression& pattern) {
    return pattern.match(html).captured(1).trimmed();
}

HelpPage readPage(const QString& path) {
    HelpPage page{path, {}, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return page;
    const QString html = QString::fromUtf8(file.readAll());
    constexpr auto kOptions = QRegularExpression::CaseInsensitiveOption |
                              QRegularExpression::DotMatchesEverythingOption |
                              QRegularExpression::InvertedGreedinessOption;
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"), kOptions);
    static const QRegularExpression keywords(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"(.*)\""), kOptions);
    // "席替え(せきがえ)": the keyword, then its reading.
    static const QRegularExpression withReading(QStringLiteral("^(.+)\\(([^()]*)\\)$"));
    page.title = firstMatch(html, title);
    for (QString k : firstMatch(html, keywords).split(u';', Qt::SkipEmptyParts)) {
        k = k.trimmed();
        if (k.isEmpty()) continue;
        const QRegularExpressionMatch m = withReading.match(k);
        if (m.hasMatch())
            page.keywords.push_back({m.captured(1).trimmed(), m.captured(2).trimmed()});
        else
            page.keywords.push_back({k, {}});
    }
    return page;
}

// Contents first, then the numbered pages in number order, then the rest.
bool pageOrder(const QString& a, const QString& b) {
    const QString contents = QStringLiteral("index.html");
    if ((a == contents) != (b == contents)) return a == contents;
    bool aNumbered = false, bNumbered = false;
    const int an = QString(a).chopped(5).toInt(&aNumbered);
    const int bn = QString(b).chopped(5).toInt(&bNumbered);
    if (aNumbered && bNumbered) return an < bn;
    if (aNumbered != bNumbered) return aNumbered;
    return a < b;
}

}  // namespace

QString helpSearchForm(const QString& text) {
    QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
    static const QRegularExpression blanks(QStringLiteral("\\s"));
    folded.remove(blanks);
    for (QChar& c : folded) {
        // ァ … ヶ sit 0x60 above ぁ … ゖ.
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6) c = QChar(c.unicode() - 0x60);
    }
    return folded;
}

HelpCatalogue::HelpCatalogue(const QString& folder) : folder_(folder) {
    QStringList files = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    std::sort(files.begin(), files.end(), pageOrder);
    pages_.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& f : files) pages_.push_back(readPage(folder + f));

    std::map<QString, int> pagesPerKeyword;
    for (const HelpPage& p : pages_)
        for (const HelpKeyword& k : p.keywords) ++pagesPerKeyword[k.word];
    for (const HelpPage& p : pages_)
        for (const HelpKeyword& k : p.keywords)
            index_.push_back(
                {k.word, k.reading,
                 pagesPerKeyword[k.word] > 1 ? k.word + u'（' + p.title + u'）' : k.word,
                 helpSearchForm(k.word), helpSearchForm(k.reading), &p});
    // Kanji code points say nothing of how a word reads, so a keyword with a
    // reading is placed by it.
    const auto placedBy = [](const HelpIndexEntry& e) -> const QString& {
        return e.readingForm.isEmpty() ? e.searchForm : e.readingForm;
    };
    std::stable_sort(index_.begin(), index_.end(), [&](const auto& a, const auto& b) {
        return placedBy(a) != placedBy(b) ? placedBy(a) < placedBy(b) : a.label < b.label;
    });
}

QString HelpCatalogue::contextPath(int context) const {
    const QString path = folder_ + QString::number(context) + QStringLiteral(".html");
    return page(path) ? path : QString();
}

const HelpPage* HelpCatalogue::page(const QString& path) const {
    for (const HelpPage& p : pages_)
        if (p.path == path) return &p;
    return nullptr;
}

std::vector<const HelpIndexEntry*> HelpCatalogue::matching(const QString& typed) const {
    const QString wanted = helpSearchForm(typed);
    std::vector<const HelpIndexEntry*> starting, holding;
    for (const HelpIndexEntry& e : index_) {
        if (e.searchForm.startsWith(wanted) || e.readingForm.startsWith(wanted))
            starting.push_back(&e);
        else if (e.searchForm.contains(wanted) || e.readingForm.contains(wanted))
            holding.push_back(&e);
    }
    starting.insert(starting.end(), holding.begin(), holding.end());
    return starting;
}

}  // namespace tosbel
