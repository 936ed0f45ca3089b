// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
// The source folders depend one way: app on top; build and wizard on editor;
// editor on core; core on nothing of ours. res holds no code.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

using Graph = QMap<QString, QSet<QString>>;

// The folders each folder may include from, besides itself.
const Graph kAllowed = {
    {QStringLiteral("core"), {}},
    {QStringLiteral("editor"), {QStringLiteral("core")}},
    {QStringLiteral("build"), {QStringLiteral("editor"), QStringLiteral("core")}},
    {QStringLiteral("wizard"), {QStringLiteral("editor"), QStringLiteral("core")}},
    {QStringLiteral("app"),
     {QStringLiteral("build"), QStringLiteral("wizard"), QStringLiteral("editor"), QStringLiteral("core")}},
};

// Which folders the files of each folder include from, with one example line each.
Graph IncludeGraph(const QString &sourceDir, QMap<QString, QString> *examples)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([a-z_]+)/"));
    Graph graph;
    QDirIterator it(sourceDir, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString folder = QDir(sourceDir).relativeFilePath(path).section(QLatin1Char('/'), 0, 0);
        graph[folder];
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        int lineNumber = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine());
            ++lineNumber;
            const QRegularExpressionMatch match = include.match(line);
            if (!match.hasMatch() || match.captured(1) == folder)
                continue;
            graph[folder].insert(match.captured(1));
            (*examples)[folder + QLatin1String(" -> ") + match.captured(1)] =
                QStringLiteral("%1:%2").arg(QDir(sourceDir).relativeFilePath(path)).arg(lineNumber);
        }
    }
    return graph;
}

// Every include that points up or sideways, and every cycle among folders.
QStringList Violations(const Graph &graph)
{
    QStringList found;
    for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
        for (const QString &to : it.value()) {
            if (!kAllowed.value(it.key()).contains(to))
                found.append(it.key() + QLatin1String(" -> ") + to);
        }
    }
    // A folder that reaches itself again forms a cycle.
    for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
        QSet<QString> seen;
        QStringList stack(it.value().cbegin(), it.value().cend());
        while (!stack.isEmpty()) {
            const QString next = stack.takeLast();
            if (next == it.key()) {
                found.append(QStringLiteral("cycle through ") + it.key());
                break;
            }
            if (seen.contains(next))
                continue;
            seen.insert(next);
            const QSet<QString> onward = graph.value(next);
            stack.append(QStringList(onward.cbegin(), onward.cend()));
        }
    }
    return found;
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<Graph>("graph");
        QTest::addColumn<QStringList>("violations");
        QTest::newRow("every allowed way") << kAllowed << QStringList{};
        QTest::newRow("editor includes app") << Graph{{"editor", {"app"}}} << QStringList{"editor -> app"};
        QTest::newRow("build includes wizard") << Graph{{"build", {"wizard"}}} << QStringList{"build -> wizard"};
        QTest::newRow("core includes editor") << Graph{{"core", {"editor"}}} << QStringList{"core -> editor"};
        QTest::newRow("a folder of unknown rank") << Graph{{"extra", {"core"}}} << QStringList{"extra -> core"};
        QTest::newRow("cycle") << Graph{{"editor", {"core"}}, {"core", {"editor"}}}
                               << QStringList{"core -> editor", "cycle through core", "cycle through editor"};
    }
    void rules()
    {
        QFETCH(Graph, graph);
        QFETCH(QStringList, violations);
        QStringList found = Violations(graph);
        found.sort();
        QCOMPARE(found, violations);
    }

    void sourceTreeKeepsTheLayers()
    {
        QMap<QString, QString> examples;
        const Graph graph = IncludeGraph(QStringLiteral(QBE_SOURCE_DIR "/src"), &examples);
        QVERIFY(graph.contains(QStringLiteral("editor")));
        QStringList report;
        const QStringList found = Violations(graph);
        for (const QString &violation : found)
            report.append(violation + QLatin1String(" (") + examples.value(violation) + QLatin1Char(')'));
        QVERIFY2(report.isEmpty(), qPrintable(report.join(QLatin1String("; "))));
    }
};

QTEST_APPLESS_MAIN(TestLayering)
#include "tst_layering.moc"
