#pragma once
// Where a result document goes as it is written: memory, or a file through a
// temporary file renamed over it. The first bytes are held back until they show an
// XML declaration that a reader recognises (when one is required), so an
// unreadable result fails before anything is opened or written.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <exception>

namespace varnolo {

class SalidaXml {
  public:
    SalidaXml(bool exigirDeclaracion, QString codificacion)
        : exigirDeclaracion_(exigirDeclaracion), codificacion_(std::move(codificacion)) {}
    virtual ~SalidaXml() = default;
    SalidaXml(const SalidaXml&) = delete;
    SalidaXml& operator=(const SalidaXml&) = delete;

    /// The encoding named in the messages.
    const QString& codificacion() const { return codificacion_; }

    /// The next bytes. Raises ErrorVarnolo when they cannot be written, or when the
    /// first ones show a document that could not be read back.
    void recibir(const char* datos, qsizetype n);
    /// After the last piece; the bytes held back are written.
    void terminar();

    /// libxml2's write callback: an error is kept in `error`, to be raised once
    /// libxml2 returns.
    static int alEscribir(void* contexto, const char* datos, int n) noexcept;
    std::exception_ptr error;

  protected:
    /// Before the first byte is written.
    virtual void abrir() {}
    /// Raises ErrorVarnolo when the bytes cannot be written.
    virtual void escribir(const char* datos, qsizetype n) = 0;

  private:
    void empezar();
    bool exigirDeclaracion_;
    QString codificacion_;
    bool empezada_ = false;
    QByteArray cabeza_;
};

/// Keeps the bytes in `bytes`.
class SalidaMemoria : public SalidaXml {
  public:
    using SalidaXml::SalidaXml;
    QByteArray bytes;

  protected:
    void escribir(const char* datos, qsizetype n) override { bytes.append(datos, n); }
};

/// Through a temporary file in the target's folder, renamed over the target by
/// confirmar(); destroyed unconfirmed, it leaves the target as it was. Writes and the
/// renaming go through Archivos::actuales(). Errors name the target: "No se ha podido
/// guardar el archivo RUTA: MOTIVO."
class SalidaArchivo : public SalidaXml {
  public:
    SalidaArchivo(bool exigirDeclaracion, QString codificacion, const QString& ruta)
        : SalidaXml(exigirDeclaracion, std::move(codificacion)), archivo_(ruta), ruta_(ruta) {}
    void confirmar();

  protected:
    void abrir() override;
    void escribir(const char* datos, qsizetype n) override;

  private:
    /// Raises the error of the save, with `motivoDado` as its reason, or the reason
    /// that the target and the file tell when it is empty.
    [[noreturn]] void falloArchivo(const QString& motivoDado = {}) const;
    QString motivo() const;
    QSaveFile archivo_;
    QString ruta_;
};

/// "No se puede escribir el documento XML en la codificación …" as ErrorVarnolo.
[[noreturn]] void falloCodificacionXml(const QString& codificacion);

}  // namespace varnolo
