#include "exchange/package_parts.h"

#include "exchange/reader_common.h"
#include "exchange/xml_bounds.h"
#include "exchange/xml_reading.h"

#include <QDir>

#include <map>

namespace kolmaris::exchange_detail {

namespace {

struct Relationship {
    QString id;
    QString type;
    QString target; // resolved to a part name
};

// The relationships part that belongs to `partName`, e.g. xl/_rels/workbook.xml.rels.
QString relationshipsPartOf(const QString& partName) {
    const int slash = partName.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : partName.left(slash + 1);
    return folder + QStringLiteral("_rels/") + partName.mid(slash + 1) + QStringLiteral(".rels");
}

// A relationship target relative to the folder of `sourcePart`, or absolute from the package
// root. Empty when it points outside the package.
QString resolveTarget(const QString& sourcePart, const QString& target) {
    QString path;
    if (target.startsWith(QLatin1Char('/'))) {
        path = target.mid(1);
    } else {
        const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
        path = (slash < 0 ? QString() : sourcePart.left(slash + 1)) + target;
    }
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("..")) || path.startsWith(QLatin1Char('/'))) {
        return {};
    }
    return path;
}

std::vector<Relationship> readRelationships(Package& package, const QString& sourcePart,
                                            XmlBudget& budget) {
    std::vector<Relationship> out;
    const auto bytes = package.part(relationshipsPartOf(sourcePart), maxSmallPartBytes);
    if (!bytes) {
        return out;
    }
    checkXmlBounds(*bytes, budget);
    QXmlStreamReader xml(*bytes);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "Relationship") &&
            xml.attributes().value(QLatin1String("TargetMode")) != QLatin1String("External")) {
            const auto attributes = xml.attributes();
            out.push_back(
                {attributes.value(QLatin1String("Id")).toString(),
                 attributes.value(QLatin1String("Type")).toString(),
                 resolveTarget(sourcePart, attributes.value(QLatin1String("Target")).toString())});
            if (out.size() > static_cast<std::size_t>(maxEntries)) {
                tooLarge();
            }
        }
    }
    return out;
}

const Relationship* byType(const std::vector<Relationship>& relationships, const char* suffix) {
    for (const auto& r : relationships) {
        if (r.type.endsWith(QLatin1String(suffix))) {
            return &r;
        }
    }
    return nullptr;
}

struct ListedSheet {
    QString id;
    bool hidden = false;
};

// The sheets of the workbook part, in the order a spreadsheet shows their tabs.
std::vector<ListedSheet> listedSheets(const QByteArray& workbook, XmlBudget& budget) {
    checkXmlBounds(workbook, budget);
    std::vector<ListedSheet> sheets;
    QXmlStreamReader xml(workbook);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "sheet")) {
            const auto state = xml.attributes().value(QLatin1String("state"));
            sheets.push_back({relationshipId(xml), state == QLatin1String("hidden") ||
                                                       state == QLatin1String("veryHidden")});
        }
    }
    return sheets;
}

} // namespace

// The first visible worksheet and the shared strings, through the package's relationships;
// where those are missing, the names every spreadsheet uses.
Parts locateParts(Package& package, XmlBudget& budget) {
    Parts parts{QStringLiteral("xl/worksheets/sheet1.xml"), QStringLiteral("xl/sharedStrings.xml")};

    QString workbookPart = QStringLiteral("xl/workbook.xml");
    const auto rootRelationships = readRelationships(package, QString(), budget);
    if (const auto* office = byType(rootRelationships, "/officeDocument")) {
        if (!office->target.isEmpty()) {
            workbookPart = office->target;
        }
    }
    const auto workbook = package.part(workbookPart, maxSmallPartBytes);
    if (!workbook) {
        return parts;
    }
    const auto relationships = readRelationships(package, workbookPart, budget);
    if (const auto* strings = byType(relationships, "/sharedStrings")) {
        parts.sharedStrings = strings->target;
    }
    // The first worksheet the user sees: hidden sheets hold nothing the user would recognise
    // as the imported table, and a chart sheet holds no table.
    std::map<QString, QString> worksheets; // by relationship id
    for (const Relationship& r : relationships) {
        if (r.type.endsWith(QLatin1String("/worksheet")) && !r.target.isEmpty()) {
            worksheets.emplace(r.id, r.target);
        }
    }
    const auto sheets = listedSheets(*workbook, budget);
    bool anyHidden = false;
    for (const ListedSheet& sheet : sheets) {
        anyHidden = anyHidden || sheet.hidden;
        const auto worksheet = worksheets.find(sheet.id);
        if (!sheet.hidden && worksheet != worksheets.end()) {
            parts.sheet = worksheet->second;
            return parts;
        }
    }
    // Without the workbook's relationships only the conventional name is left, and it might
    // name a hidden sheet.
    if (!sheets.empty() && (anyHidden || !relationships.empty())) {
        reject(Kind::ForeignLayout, "Die Arbeitsmappe enthält kein sichtbares Tabellenblatt.");
    }
    return parts;
}

// No bytes: the workbook has no shared strings.
std::vector<QString> readSharedStrings(const QByteArray& bytes) {
    std::vector<QString> strings;
    if (bytes.isEmpty()) {
        return strings;
    }
    QXmlStreamReader xml(bytes);
    while (nextToken(xml) != QXmlStreamReader::EndDocument) {
        if (isStart(xml, "si")) {
            if (strings.size() >= static_cast<std::size_t>(maxSharedStrings)) {
                tooLarge();
            }
            strings.push_back(stringItemText(xml));
        }
    }
    return strings;
}

} // namespace kolmaris::exchange_detail
