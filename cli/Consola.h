#pragma once
// Standard output and error of varnolo-cli as a device for QTextStream: UTF-8 bytes
// when they go to a file or a pipe; in a Windows console, the text through the
// console's wide-character API, so that accents read right whatever its code page.

#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <cstdio>
#include <functional>

namespace varnolo::cli {

class SalidaConsola : public QIODevice {
  public:
    /// Writes where `flujo` (stdout or stderr) goes; opened for writing.
    explicit SalidaConsola(FILE* flujo);
    /// Writes the text to `consola` instead, as a console would get it (tests).
    SalidaConsola(FILE* flujo, std::function<bool(const QString&)> consola);

    bool isSequential() const override { return true; }
    /// True when the text goes to a console through its wide-character API.
    bool esConsola() const { return static_cast<bool>(consola_); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* datos, qint64 largo) override;

  private:
    FILE* flujo_;
    std::function<bool(const QString&)> consola_;
    /// Keeps a character whose bytes come split between two writes.
    QStringDecoder utf8_{QStringDecoder::Utf8};
};

namespace plataforma {
/// The console behind `flujo`, as a writer of text; empty when it is no console.
std::function<bool(const QString&)> consolaDe(FILE* flujo);
/// True when `flujo` goes to a terminal (a console on Windows): the progress line is
/// drawn only there.
bool esTerminal(FILE* flujo);
}  // namespace plataforma

}  // namespace varnolo::cli
