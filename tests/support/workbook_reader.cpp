// The workbook is a zip of XML parts; Qt's private zip reader opens it.
#include "support/workbook_reader.h"

#include <private/qzipreader_p.h>

#include <QBuffer>
#include <QStringList>
#include <QXmlStreamReader>

namespace evo::test {
namespace {

QStringList SharedStrings(const QByteArray& xml) {
  QStringList strings;
  QXmlStreamReader reader(xml);
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"t") {
      strings << reader.readElementText();
    }
  }
  return strings;
}

}  // namespace

Sheet ReadSheet(const QByteArray& workbook, int index) {
  QBuffer bytes;
  bytes.setData(workbook);
  bytes.open(QIODevice::ReadOnly);
  QZipReader zip(&bytes);
  const QStringList strings = SharedStrings(zip.fileData("xl/sharedStrings.xml"));
  Sheet sheet;
  QXmlStreamReader reader(zip.fileData(QString("xl/worksheets/sheet%1.xml").arg(index)));
  QString reference;
  QString type;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (reader.name() == u"pane") {
      sheet.firstRowFrozen = reader.attributes().value("ySplit") == u"1" &&
                             reader.attributes().value("state") == u"frozen";
    } else if (reader.name() == u"c") {
      reference = reader.attributes().value("r").toString();
      type = reader.attributes().value("t").toString();
    } else if (reader.name() == u"v") {
      const QString value = reader.readElementText();
      if (type == u"s") {
        sheet.cells.insert(reference, strings.value(value.toInt()));
      } else {
        sheet.cells.insert(reference, value.toDouble());
      }
    }
  }
  return sheet;
}

}  // namespace evo::test
