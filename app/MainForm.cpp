#include "MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include "Ayuda.h"
#include "TeclaEnter.h"
#include "data/ArchivoIni.h"
#include "data/Errores.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "ui_MainForm.h"

namespace varnolo {

namespace {

/// Lower-cases the letters A to Z only, as the batch dispatch compares its argument.
QString minusculasAscii(QString texto) {
    for (QChar& c : texto) {
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return texto;
}

/// Takes the busy cursor away while a modal window waits for the user, and puts it
/// back afterwards.
class CursorSuspendido {
  public:
    explicit CursorSuspendido(int niveles) : niveles_(niveles) {
        for (int i = 0; i < niveles_; ++i) QApplication::restoreOverrideCursor();
    }
    ~CursorSuspendido() {
        for (int i = 0; i < niveles_; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    CursorSuspendido(const CursorSuspendido&) = delete;
    CursorSuspendido& operator=(const CursorSuspendido&) = delete;

  private:
    int niveles_;
};

}  // namespace

TMForm::TMForm(Entorno entorno, const QStringList& argumentos, DialogosVentana dialogos,
               QWidget* padre)
    : QWidget(padre),
      ui_(std::make_unique<Ui::TMForm>()),
      estado_(std::move(entorno)),
      argumentos_(argumentos),
      dialogos_(std::move(dialogos)) {
    // FormCreate: empty subject lists, outcome flag 0, batch mode by argument count.
    estado_.listas.vaciar();
    estado_.transformado = 0;
    estado_.modoLote = argumentos_.size() == 2 ? 2 : 0;

    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(632, 266);

    QFont titular(QStringLiteral("Arial"));
    titular.setPixelSize(16);
    titular.setBold(true);
    ui_->Label3->setFont(titular);
    ui_->Label4->setFont(titular);

    QPalette rojo = ui_->Label1->palette();
    rojo.setColor(QPalette::WindowText, Qt::red);
    ui_->Label1->setPalette(rojo);

    // The standard OK button of the user's language, with its check mark.
    const QString aceptar = QCoreApplication::translate("QPlatformTheme", "OK");
    const QIcon marca = style()->standardIcon(QStyle::SP_DialogOkButton);
    for (QPushButton* b : {ui_->BExportar, ui_->BImportar}) {
        b->setText(aceptar);
        b->setIcon(marca);
    }
    ui_->BClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    connect(ui_->BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
    connect(ui_->BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
    connect(ui_->BClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->Button1, &QPushButton::clicked, this, &TMForm::Button1Click);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { mostrarTemaAyuda(kAyudaVentanaPrincipal); });
    pulsarBotonesConEnter(this);

    if (const QScreen* pantalla = screen()) {
        move(pantalla->availableGeometry().center() - rect().center());
    }
}

TMForm::~TMForm() { cursorNormal(); }

QString TMForm::rutaIni() const { return estado_.entorno.rutaPrograma(kArchivoIni); }

std::optional<QString> TMForm::elegirDocumento() {
    CursorSuspendido libre(cursoresOcupados_);
    return dialogos_.elegirArchivo(this);
}

void TMForm::mostrarMensaje(const QString& texto) {
    CursorSuspendido libre(cursoresOcupados_);
    dialogos_.avisar(this, {kTituloAplicacion, texto, QMessageBox::Information});
}

void TMForm::cursorOcupado() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++cursoresOcupados_;
}

void TMForm::cursorNormal() {
    for (; cursoresOcupados_ > 0; --cursoresOcupados_) QApplication::restoreOverrideCursor();
}

void TMForm::deshabilitarBotones() {
    ui_->BExportar->setEnabled(false);
    ui_->BImportar->setEnabled(false);
}

void TMForm::cerrarVentana() { close(); }

SeleccionMarcos TMForm::elegirMarcos(const EstadoPrograma& estado) {
    CursorSuspendido libre(cursoresOcupados_);
    return dialogos_.marcos(this, estado);
}

bool TMForm::completarProfesores(const EstadoPrograma& estado) {
    CursorSuspendido libre(cursoresOcupados_);
    return dialogos_.profesores(this, estado);
}

template <typename Conversion>
void TMForm::ejecutarProtegido(Conversion conversion) {
    try {
        conversion();
    } catch (const ErrorVarnolo& e) {
        cursorNormal();
        mostrarError(e.texto());
    } catch (const std::exception& e) {
        cursorNormal();
        mostrarError(QString::fromLocal8Bit(e.what()));
    }
}

void TMForm::mostrarError(const QString& texto) {
    CursorSuspendido libre(cursoresOcupados_);
    dialogos_.avisar(this, {kTituloAplicacion, texto, QMessageBox::Critical});
}

void TMForm::BExportarClick() {
    ejecutarProtegido([this] { ejecutarExportacion(estado_, *this); });
}

void TMForm::BImportarClick() {
    ejecutarProtegido([this] { ejecutarImportacion(estado_, *this); });
}

void TMForm::Button1Click() { mostrarTemaAyuda(kAyudaContenido); }

void TMForm::mostrarTemaAyuda(const TemaAyuda& tema) {
    try {
        mostrarAyuda(estado_.entorno.carpetaPrograma, tema);
    } catch (const ErrorVarnolo& e) {
        // A missing help file is news for the user, not a failure of the program.
        CursorSuspendido libre(cursoresOcupados_);
        dialogos_.avisar(this, {kTituloAplicacion, e.texto(), QMessageBox::Information});
    }
}

void TMForm::FormShow() {
    if (argumentos_.size() != 2) return;
    const QString accion = minusculasAscii(argumentos_.first());
    if (accion == QLatin1String("importar")) BImportarClick();
    if (accion == QLatin1String("exportar")) BExportarClick();
}

void TMForm::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    if (mostrada_) return;
    mostrada_ = true;
    // The batch action runs once the window is on screen, from the event loop.
    QMetaObject::invokeMethod(this, &TMForm::FormShow, Qt::QueuedConnection);
}

void TMForm::closeEvent(QCloseEvent* evento) {
    if (estado_.modoLote == 2) {
        try {
            escribirTransformado(rutaIni(), estado_.transformado);
            codigoSalida_ = 0;
        } catch (const ErrorVarnolo& e) {
            // The first refusal keeps the window open, so that the user can free the
            // file and close again; after that a close is not refused again, or the
            // program could not be ended at all. Taviron then finds the file as it
            // was, and the exit status tells the outcome was not recorded.
            if (!iniRechazado_) {
                iniRechazado_ = true;
                mostrarError(e.texto());
                evento->ignore();
                return;
            }
            codigoSalida_ = kSalidaSinIni;
        }
    }
    evento->accept();
}

}  // namespace varnolo
