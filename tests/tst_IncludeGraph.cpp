// The source folders stand in layers: a folder never includes a folder that includes it back,
// and no file includes itself round a loop. Read from the sources, so a new include that breaks
// this fails here rather than in a later design review.

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

using Graph = QMap<QString, QSet<QString>>;

const QString kSource = QStringLiteral(Q57_SOURCE_DIR "/src/");

// Every file below src/ (by its path there) with the project files it includes.
Graph fileIncludes() {
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s+"([^"]+)\")"),
                                            QRegularExpression::MultilineOption);
    Graph graph;
    QDirIterator files(kSource, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next().mid(kSource.size());
        QFile file(kSource + path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QString text = QString::fromUtf8(file.readAll());
        const QString folder = path.contains(u'/') ? path.section(u'/', 0, 0) + u'/' : QString();
        QSet<QString>& targets = graph[path];
        for (const QRegularExpressionMatch& match : include.globalMatch(text)) {
            const QString name = match.captured(1);
            // A bare name is beside the including file; anything else is relative to src/.
            for (const QString& candidate : {folder + name, name})
                if (QFile::exists(kSource + candidate)) {
                    targets.insert(candidate);
                    break;
                }
        }
    }
    return graph;
}

// The folder of a file; files directly in src/ (the program's root) count as "src".
QString folderOf(const QString& path) {
    return path.contains(u'/') ? path.section(u'/', 0, 0) : QStringLiteral("src");
}

Graph folderIncludes(const Graph& files) {
    Graph folders;
    for (auto it = files.begin(); it != files.end(); ++it)
        for (const QString& target : it.value())
            if (folderOf(target) != folderOf(it.key()))
                folders[folderOf(it.key())].insert(folderOf(target));
    return folders;
}

// One loop of the graph as "a -> b -> a", or empty when there is none.
QString findLoop(const Graph& graph) {
    enum State { Unseen, Open, Done };
    QMap<QString, State> state;
    QStringList path;
    std::function<QString(const QString&)> visit = [&](const QString& node) -> QString {
        state[node] = Open;
        path << node;
        for (const QString& next : graph.value(node)) {
            if (state.value(next) == Open)
                return (path.mid(path.indexOf(next)) << next).join(QStringLiteral(" -> "));
            if (state.value(next) == Unseen) {
                const QString loop = visit(next);
                if (!loop.isEmpty())
                    return loop;
            }
        }
        path.removeLast();
        state[node] = Done;
        return {};
    };
    for (auto it = graph.begin(); it != graph.end(); ++it)
        if (state.value(it.key()) == Unseen) {
            const QString loop = visit(it.key());
            if (!loop.isEmpty())
                return loop;
        }
    return {};
}

} // namespace

class TestIncludeGraph : public QObject {
    Q_OBJECT
private slots:
    void noLoopsBetweenFoldersOrFiles() {
        // The checker itself: a planted loop is found.
        const Graph planted{{QStringLiteral("a"), {QStringLiteral("b")}},
                            {QStringLiteral("b"), {QStringLiteral("c")}},
                            {QStringLiteral("c"), {QStringLiteral("a")}}};
        QCOMPARE(findLoop(planted), QStringLiteral("a -> b -> c -> a"));

        const Graph files = fileIncludes();
        QVERIFY(files.contains(QStringLiteral("app/frmCtl.cpp")));
        QVERIFY(files[QStringLiteral("app/frmCtl.cpp")].contains(QStringLiteral("app/frmCtl.h")));
        QCOMPARE(findLoop(files), QString());
        const Graph folders = folderIncludes(files);
        QVERIFY(folders[QStringLiteral("src")].contains(QStringLiteral("app")));
        QCOMPARE(findLoop(folders), QString());
    }
};

QTEST_GUILESS_MAIN(TestIncludeGraph)
#include "tst_IncludeGraph.moc"
