#include "app/VentanaPrincipal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include "app/Ayuda.h"
#include "app/TeclaEnter.h"
#include "base/Errores.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "taviron/ArchivoIni.h"
#include "taviron/Transaccion.h"
#include "ui_VentanaPrincipal.h"

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

VentanaPrincipal::VentanaPrincipal(Entorno entorno, const QStringList& argumentos,
                                   DialogosVentana dialogos, QWidget* padre)
    : QWidget(padre),
      ui_(std::make_unique<Ui::VentanaPrincipal>()),
      entorno_(std::move(entorno)),
      argumentos_(argumentos),
      modoLote_(argumentos_.size() == 2),
      dialogos_(std::move(dialogos)) {
    // A replacement of tables that a cut left half done is finished before anything
    // else looks at the work folder.
    recuperarCarpetaSiLibre(entorno_.carpetaTrabajo);
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(632, 266);

    QFont titular(QStringLiteral("Arial"));
    titular.setStyleHint(QFont::SansSerif);
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

    connect(ui_->BExportar, &QPushButton::clicked, this, &VentanaPrincipal::alPulsarExportar);
    connect(ui_->BImportar, &QPushButton::clicked, this, &VentanaPrincipal::alPulsarImportar);
    connect(ui_->BClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->Button1, &QPushButton::clicked, this, &VentanaPrincipal::alPulsarAyuda);
    connect(ui_->BotonRestaurar, &QPushButton::clicked, this, &VentanaPrincipal::alPulsarRestaurar);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { mostrarTemaAyuda(kAyudaVentanaPrincipal); });
    pulsarBotonesConEnter(this);

    if (const QScreen* pantalla = screen()) {
        move(pantalla->availableGeometry().center() - rect().center());
    }
}

VentanaPrincipal::~VentanaPrincipal() { cursorNormal(); }

void VentanaPrincipal::alPulsarRestaurar() { dialogos_.copias(this, entorno_); }

QString VentanaPrincipal::rutaIni() const { return entorno_.rutaPrograma(kArchivoIni); }

void VentanaPrincipal::mostrarMensaje(const QString& texto, const QString& detalles) {
    CursorSuspendido libre(cursoresOcupados_);
    AvisoVentana aviso = avisoDe(ClaseAviso::Mensaje, texto);
    aviso.detalles = detalles;
    dialogos_.avisar(this, aviso);
}

void VentanaPrincipal::cursorOcupado() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++cursoresOcupados_;
}

void VentanaPrincipal::cursorNormal() {
    for (; cursoresOcupados_ > 0; --cursoresOcupados_) QApplication::restoreOverrideCursor();
}

QList<int> VentanaPrincipal::elegirMarcos(const MarcosHorarios& marcos) {
    if (avance_ != nullptr) avance_->apartar();
    CursorSuspendido libre(cursoresOcupados_);
    return dialogos_.marcos(this, entorno_, marcos);
}

bool VentanaPrincipal::completarProfesores(const Entorno& entorno) {
    if (avance_ != nullptr) avance_->apartar();
    CursorSuspendido libre(cursoresOcupados_);
    return dialogos_.profesores(this, entorno);
}

void VentanaPrincipal::ejecutarConversion(const Conversion& conversion) {
    // A cancelled file dialog keeps the document chosen before.
    if (const auto elegido = dialogos_.elegirArchivo(this)) documento_ = *elegido;
    cursorOcupado();
    std::unique_ptr<DialogoAvance> avance = dialogos_.avance ? dialogos_.avance(this) : nullptr;
    avance_ = avance.get();
    const Desenlace desenlace = conversion(documento_, *this, avance_);
    avance_ = nullptr;
    avance.reset();
    cursorNormal();
    switch (desenlace.tipo) {
        case Desenlace::Tipo::Completada:
            transformado_ = 1;
            mostrarMensaje(desenlace.texto, desenlace.informe);
            ui_->BExportar->setEnabled(false);
            ui_->BImportar->setEnabled(false);
            if (modoLote_) close();
            break;
        case Desenlace::Tipo::Aviso:
            mostrarMensaje(desenlace.texto);
            if (desenlace.motivo == Desenlace::Motivo::DocumentoInexistente && modoLote_) {
                transformado_ = -1;
                close();
            }
            // The import stops for good: the user completes the data and starts again.
            if (desenlace.motivo == Desenlace::Motivo::ProfesoresIncompletos) close();
            break;
        case Desenlace::Tipo::Fallo:
            mostrarError(desenlace.texto);
            break;
        case Desenlace::Tipo::Cancelada:
            // The person stopped it and knows; nothing changed, the flag stays as it was.
            break;
    }
}

void VentanaPrincipal::mostrarError(const QString& texto) {
    CursorSuspendido libre(cursoresOcupados_);
    dialogos_.avisar(this, avisoDe(ClaseAviso::Error, texto));
}

void VentanaPrincipal::alPulsarExportar() {
    ejecutarConversion([this](const QString& documento, Preguntas& preguntas, Avance* avance) {
        OpcionesExportacion opciones;
        opciones.avance = avance;
        return exportar(entorno_, documento, opciones, preguntas);
    });
}

void VentanaPrincipal::alPulsarImportar() {
    ejecutarConversion([this](const QString& documento, Preguntas& preguntas, Avance* avance) {
        return importar(entorno_, documento, preguntas, avance);
    });
}

void VentanaPrincipal::alPulsarAyuda() { mostrarTemaAyuda(kAyudaContenido); }

void VentanaPrincipal::mostrarTemaAyuda(const TemaAyuda& tema) {
    try {
        mostrarAyuda(entorno_.carpetaPrograma, tema);
    } catch (const ErrorVarnolo& e) {
        // A missing help file is news for the user, not a failure of the program.
        CursorSuspendido libre(cursoresOcupados_);
        dialogos_.avisar(this, avisoDe(ClaseAviso::Mensaje, e.texto()));
    }
}

void VentanaPrincipal::ejecutarModoLote() {
    if (argumentos_.size() != 2) return;
    const QString accion = minusculasAscii(argumentos_.first());
    if (accion == QLatin1String("importar")) alPulsarImportar();
    if (accion == QLatin1String("exportar")) alPulsarExportar();
}

void VentanaPrincipal::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    if (mostrada_) return;
    mostrada_ = true;
    // The batch action runs once the window is on screen, from the event loop.
    QMetaObject::invokeMethod(this, &VentanaPrincipal::ejecutarModoLote, Qt::QueuedConnection);
}

void VentanaPrincipal::closeEvent(QCloseEvent* evento) {
    if (modoLote_) {
        try {
            escribirTransformado(rutaIni(), transformado_);
            codigoSalida_ = 0;
        } catch (const ErrorVarnolo& e) {
            // The first refusal keeps the window open, so that the user can free the
            // file and close again; after that a close is not refused again, or the
            // program could not be ended at all. Taviron then finds the file as it
            // was, and the exit status tells the outcome was not recorded.
            if (!iniRechazado_) {
                iniRechazado_ = true;
                mostrarError(e.texto() + kReintentoIni);
                evento->ignore();
                return;
            }
            codigoSalida_ = kSalidaSinIni;
        }
    }
    evento->accept();
}

}  // namespace varnolo
