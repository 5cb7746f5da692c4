#pragma once
// The generated help page of the help benchmarks: about the given size of headings,
// paragraphs, lists, tables, links, entities and pictures that are missing.

#include <QString>

#include <iterator>

// The same page every time: sections cycle through the kinds of content a help page has.
inline QString GeneratePage(qsizetype bytes)
{
    static const char* const kWords[] = {"graph", "series", "points", "axis", "label", "legend", "smooth",
                                         "curve", "bar", "stacked", "pie", "title", "options", "file"};
    QString html = QStringLiteral(
        "<html><head><title>Help</title></head><body>"
        "<style>p { font-family: Calibri } .note { color: #336699; font-style: italic } h2 { color: navy }"
        " td { font-size: 90% } #top { font-weight: bold }</style>\r\n");
    quint32 state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    const auto sentence = [&](int words) {
        QString s;
        for (int i = 0; i < words; ++i) {
            if (i)
                s += next() % 9 == 0 ? QStringLiteral(" &amp; ") : QStringLiteral(" ");
            s += QLatin1String(kWords[next() % std::size(kWords)]);
        }
        return s + QStringLiteral(". ");
    };
    for (int section = 0; html.size() < bytes; ++section) {
        html += QStringLiteral("<a name=\"Contents:Section %1\"></a><h2 id=top>Section %1 &mdash; %2</h2>\r\n")
                    .arg(section)
                    .arg(sentence(3));
        for (int p = 0; p < 4; ++p) {
            html += QStringLiteral("<p class=%1>").arg(p == 2 ? QStringLiteral("note") : QStringLiteral("body"));
            html += sentence(12) + QStringLiteral("<b>") + sentence(4) + QStringLiteral("</b> ") +
                QStringLiteral("See <a href=#s%1>section %1</a> or <a href=\"www.example.org/p%2\">the site</a>. ")
                    .arg(next() % 100)
                    .arg(section) +
                sentence(10) + QStringLiteral("&copy; &lt;x&gt; &#169; &eacute;t&eacute;\r\n</p>\r\n");
        }
        html += QStringLiteral("<ul>");
        for (int i = 0; i < 5; ++i)
            html += QStringLiteral("<li>") + sentence(8) + QStringLiteral("</li>\r\n");
        html += QStringLiteral("</ul><ol><li>") + sentence(6) + QStringLiteral("<li>") + sentence(6) +
            QStringLiteral("</ol>\r\n<table>");
        for (int r = 0; r < 3; ++r)
            html += QStringLiteral("<tr><td>%1<td>%2<td><font color=red>%3</font>\r\n")
                        .arg(sentence(2), sentence(3))
                        .arg(next());
        html += QStringLiteral("</table><pre>x = %1\r\n  y = %2</pre><hr width=80%>"
                               "<img src=\"missing%3.jpg\" alt=Figure>\r\n")
                    .arg(next())
                    .arg(next())
                    .arg(section);
    }
    return html + QStringLiteral("</body></html>");
}

