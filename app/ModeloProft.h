#pragma once
// The rows of PROFT as the teacher data dialog's grid shows and edits them: four
// columns (ABREV, NOMBRE, X_EMPLEADO, F_TOMAPOS), the first two read-only, and one
// row at a time in edit. A changed row is written to the table only when it is
// posted, and only when both masked fields are empty or fit their masks.

#include <QAbstractTableModel>
#include <QValidator>
#include <array>
#include <optional>
#include <vector>

#include "dbf/Tabla.h"

namespace varnolo {

/// The two picture masks of the dialog: "#*#" (one or more digits) and "##/##/####"
/// (two digits, a slash, two digits, a slash, four digits; not tested as a date).
bool encajaMascara(const QString& texto, const QString& mascara);
/// True when `texto` can still become a value that fits the mask by typing more.
bool empiezaMascara(const QString& texto, const QString& mascara);

/// `texto` with the mask's separators put in where a character was typed in their
/// place ("0109" becomes "01/09" for "##/##/####"); `posicion`, when given, moves with
/// the separators put before it.
QString conSeparadores(const QString& texto, const QString& mascara, int* posicion = nullptr);

/// Lets the user type only what can still fit the mask, putting in the mask's
/// separators as the digits come; an unfinished value is accepted here and refused
/// when the row is posted.
class ValidadorMascara : public QValidator {
  public:
    ValidadorMascara(QString mascara, QObject* padre)
        : QValidator(padre), mascara_(std::move(mascara)) {}
    State validate(QString& entrada, int& posicion) const override;

  private:
    QString mascara_;
};

class ModeloProft : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Columna { ColAbrev, ColNombre, ColEmpleado, ColTomaPos, NumColumnas };
    /// Columns that stay in place and cannot be edited.
    static constexpr int kColumnasFijas = 2;

    /// `tabla` is PROFT, opened and closed by the dialog; it must outlive the model.
    ModeloProft(Tabla& tabla, QObject* padre = nullptr);

    /// Field name, width in characters and mask ("" when none) of a column.
    static QString campo(int columna);
    static int anchoCaracteres(int columna);
    static QString mascara(int columna);

    /// Reads every row of the table again; a pending edit is dropped.
    void recargar();
    /// The row in edit with changes not yet written, or -1.
    int filaPendiente() const { return modificada_ ? filaEditada_ : -1; }
    /// Writes the pending row. When a masked field does not fit, nothing is written,
    /// the row stays in edit and the column of that field is returned.
    std::optional<int> postear();
    /// Drops the pending changes.
    void cancelar();

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int rol) override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;

  private:
    Tabla& tabla_;
    std::vector<std::array<QString, NumColumnas>> filas_;
    int filaEditada_ = -1;
    std::array<QString, NumColumnas> pendiente_;
    bool modificada_ = false;
};

}  // namespace varnolo
