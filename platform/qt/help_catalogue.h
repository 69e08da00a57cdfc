#pragma once

#include <QList>
#include <QString>

#include <vector>

namespace tosbel {

// An index keyword and, when it holds kanji, its reading in kana, so a teacher
// who types the reading before converting it still finds the keyword.
struct HelpKeyword {
    QString word;
    QString reading;  // empty when the word reads as it is written
};

// One help page: its resource path (":/help/24.html"), the title it shows and
// the keywords it lists for the index.
struct HelpPage {
    QString path;
    QString title;
    QList<HelpKeyword> keywords;
};

// One line of the keyword index: a keyword and the page it opens. A keyword
// several pages share has a line per page, told apart by the page's title.
struct HelpIndexEntry {
    QString keyword;
    QString reading;
    QString label;        // the keyword, or "keyword（page title）" when it is shared
    QString searchForm;   // the keyword as typed text is compared with it
    QString readingForm;  // the reading as typed text is compared with it, or empty
    const HelpPage* page = nullptr;
};

// The help pages compiled in under a folder of the resources: the contents is
// "index.html", the page of help context n is "n.html", and every page names
// its keywords in <meta name="keywords" content="a;b;c">, a keyword with kanji
// followed by its reading in ASCII brackets: "席替え(せきがえ)".
class HelpCatalogue {
public:
    explicit HelpCatalogue(const QString& folder = QStringLiteral(":/help/"));
    // The index points into the pages.
    HelpCatalogue(const HelpCatalogue&) = delete;
    HelpCatalogue& operator=(const HelpCatalogue&) = delete;

    QString contentsPath() const { return folder_ + QStringLiteral("index.html"); }
    // The page of a context number; empty when there is none.
    QString contextPath(int context) const;
    const std::vector<HelpPage>& pages() const { return pages_; }
    const HelpPage* page(const QString& path) const;

    // The index in its order: by the keyword as it reads, so "ﾌｧｲﾙ", "ファイル"
    // and "ふぁいる" sit together and "席替え" sits among the せ.
    const std::vector<HelpIndexEntry>& index() const { return index_; }
    // The index lines a typed text picks out: those whose keyword or reading
    // begins with it first, then those holding it elsewhere. Width, case and
    // hiragana or katakana do not matter; blank text picks every line.
    std::vector<const HelpIndexEntry*> matching(const QString& typed) const;

private:
    QString folder_;
    std::vector<HelpPage> pages_;
    std::vector<HelpIndexEntry> index_;
};

// A text as the index compares it: one width for letters and kana, lower
// case, katakana as hiragana, blanks dropped.
QString helpSearchForm(const QString& text);

}  // namespace tosbel
