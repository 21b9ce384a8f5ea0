#include "app/DialogosVentana.h"

#include "app/DialogoCopias.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QSortFilterProxyModel>

#include "app/DialogoMarcos.h"
#include "app/DialogoProfesores.h"

namespace varnolo {

DialogosVentana DialogosVentana::reales() {
    return {mostrarOpenDialogXML,
            mostrarAviso,
            mostrarDialogoMarcos,
            mostrarDialogoProfesores,
            mostrarDialogoCopias,
            [](QWidget* propietario) { return std::make_unique<DialogoAvance>(propietario); }};
}

namespace {

/// The file list of Qt's own file dialog in Spanish whatever the environment: dates in
/// the Spanish short format, and "Carpeta" for a folder (Qt's Spanish texts lack it).
class ArchivosEnCastellano : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex& indice, int papel) const override {
        if (papel == Qt::DisplayRole && (indice.column() == 2 || indice.column() == 3)) {
            if (const auto* archivos = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QFileInfo info = archivos->fileInfo(mapToSource(indice));
                if (indice.column() == 3) {
                    return QLocale(QLocale::Spanish, QLocale::Spain)
                        .toString(info.lastModified(), QLocale::ShortFormat);
                }
                if (info.isDir()) return QStringLiteral("Carpeta");
            }
        }
        return QSortFilterProxyModel::data(indice, papel);
    }
};

}  // namespace

std::optional<QString> mostrarOpenDialogXML(QWidget* propietario) {
    QFileDialog OpenDialogXML(propietario,
                              QStringLiteral("Seleccione Archivo XML obtenido de VELNA"));
    OpenDialogXML.setObjectName(QStringLiteral("OpenDialogXML"));
#ifdef Q_OS_WIN
    // Windows' own dialog, in the system's language.
#else
    // Qt's own dialog here: its list in Spanish too.
    OpenDialogXML.setOption(QFileDialog::DontUseNativeDialog);
    OpenDialogXML.setProxyModel(new ArchivosEnCastellano(&OpenDialogXML));
#endif
    OpenDialogXML.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name is accepted: the conversion itself reports a file that does not exist.
    OpenDialogXML.setFileMode(QFileDialog::AnyFile);
    OpenDialogXML.setNameFilter(QStringLiteral("*.xml (*.xml)"));
    OpenDialogXML.setDefaultSuffix(QStringLiteral("xml"));
    if (OpenDialogXML.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList elegidos = OpenDialogXML.selectedFiles();
    if (elegidos.isEmpty()) return std::nullopt;
    return elegidos.first();
}

QMessageBox::Icon iconoDe(ClaseAviso clase) {
    return clase == ClaseAviso::Error ? QMessageBox::Critical : QMessageBox::NoIcon;
}

AvisoVentana avisoDe(ClaseAviso clase, const QString& texto) {
    return {QStringLiteral("Varnolo"), texto, iconoDe(clase)};
}

namespace {

/// A zero-width space after every path separator: where a long path may wrap.
QString textoPartible(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto) {
        r += c;
        if (c == u'/' || c == u'\\') r += QChar(0x200B);
    }
    return r;
}

/// A message box that shows its text with break opportunities in long paths but
/// gives the text itself to a screen reader and to Ctrl+C.
class CajaAviso : public QMessageBox {
  public:
    CajaAviso(const AvisoVentana& aviso, QWidget* propietario)
        : QMessageBox(aviso.icono, aviso.titulo, QString(), QMessageBox::Ok, propietario),
          texto_(aviso.texto) {
        setTextFormat(Qt::PlainText);
        setText(textoPartible(texto_));
        setAccessibleDescription(texto_);
        if (!aviso.detalles.isEmpty()) setDetailedText(aviso.detalles);
        if (auto* etiqueta = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            etiqueta->setAccessibleName(texto_);
        }
    }

  protected:
    void keyPressEvent(QKeyEvent* evento) override {
        if (evento != nullptr && evento->matches(QKeySequence::Copy)) {
            // The layout of Qt's own copy, with the message as it is.
            const QString raya = QStringLiteral("---------------------------\n");
            QStringList botones;
            for (QAbstractButton* b : buttons()) botones << b->text().remove(u'&');
            QGuiApplication::clipboard()->setText(
                raya + windowTitle() + u'\n' + raya + texto_ + u'\n' + raya +
                botones.join(QStringLiteral("   ")) + u'\n' + raya);
            return;
        }
        QMessageBox::keyPressEvent(evento);
    }

  public:
    const QString& textoOriginal() const { return texto_; }

  private:
    QString texto_;
};

/// What assistive technology reads of a CajaAviso: the message itself as its value
/// and description (Qt's own reads the shown text, break opportunities included).
class CajaAvisoAccesible : public QAccessibleWidget {
  public:
    explicit CajaAvisoAccesible(CajaAviso* caja)
        : QAccessibleWidget(caja, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text clase) const override {
        const auto* caja = static_cast<const CajaAviso*>(widget());
        if (clase == QAccessible::Value || clase == QAccessible::Description) {
            return caja->textoOriginal();
        }
        if (clase == QAccessible::Name) return caja->windowTitle();
        return QAccessibleWidget::text(clase);
    }
};

QAccessibleInterface* accesibleDeCaja(const QString&, QObject* objeto) {
    if (auto* caja = dynamic_cast<CajaAviso*>(objeto)) return new CajaAvisoAccesible(caja);
    return nullptr;
}

}  // namespace

std::unique_ptr<QMessageBox> crearCajaAviso(QWidget* propietario, const AvisoVentana& aviso) {
    static const bool instalada = [] {
        QAccessible::installFactory(accesibleDeCaja);
        return true;
    }();
    (void)instalada;
    return std::make_unique<CajaAviso>(aviso, propietario);
}

void mostrarAviso(QWidget* propietario, const AvisoVentana& aviso) {
    crearCajaAviso(propietario, aviso)->exec();
}

}  // namespace varnolo
