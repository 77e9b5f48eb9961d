#include "controls/font_substitutes.h"

#include <QFont>
#include <QStringList>

namespace quarrix {

void InstallFontSubstitutes() {
  // Liberation Sans has Arial's metrics, the nearest to both Windows faces.
  const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
  QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
}

}  // namespace quarrix
