#include "app/ModeloProft.h"

#include <QFont>
#include <QRegularExpression>

#include "taviron/Catalogo.h"

namespace varnolo {

namespace {

QString patron(const QString& mascara) {
    QString p;
    for (int i = 0; i < mascara.size(); ++i) {
        const QChar c = mascara[i];
        if (c == QLatin1Char('#')) {
            p += QStringLiteral("[0-9]");
        } else if (c == QLatin1Char('*') && i + 1 < mascara.size() &&
                   mascara[i + 1] == QLatin1Char('#')) {
            p += QStringLiteral("[0-9]*");
            ++i;
        } else {
            p += QRegularExpression::escape(QString(c));
        }
    }
    return QStringLiteral("\\A(?:") + p + QStringLiteral(")\\z");
}

QRegularExpressionMatch comparar(const QString& texto, const QString& mascara,
                                 QRegularExpression::MatchType tipo) {
    const QRegularExpression re(patron(mascara));
    return re.match(texto, 0, tipo);
}

}  // namespace

bool encajaMascara(const QString& texto, const QString& mascara) {
    return comparar(texto, mascara, QRegularExpression::NormalMatch).hasMatch();
}

bool empiezaMascara(const QString& texto, const QString& mascara) {
    if (texto.isEmpty()) return true;
    const auto m = comparar(texto, mascara, QRegularExpression::PartialPreferCompleteMatch);
    return m.hasMatch() || m.hasPartialMatch();
}

QString conSeparadores(const QString& texto, const QString& mascara, int* posicion) {
    // Masks with a run of any length keep what was typed.
    if (mascara.contains(QLatin1Char('*'))) return texto;
    QString r;
    int j = 0;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        while (j < mascara.size() && mascara[j] != QLatin1Char('#') && c != mascara[j]) {
            r += mascara[j++];
            if (posicion != nullptr && i < *posicion) ++*posicion;
        }
        r += c;
        ++j;
    }
    return r;
}

QValidator::State ValidadorMascara::validate(QString& entrada, int& posicion) const {
    if (empiezaMascara(entrada, mascara_)) return Acceptable;
    // A digit typed where the mask has its separator: the separator goes in first.
    int nueva = posicion;
    const QString completada = conSeparadores(entrada, mascara_, &nueva);
    if (completada != entrada && empiezaMascara(completada, mascara_)) {
        entrada = completada;
        posicion = nueva;
        return Acceptable;
    }
    return Invalid;
}

ModeloProft::ModeloProft(Tabla& tabla, QObject* padre)
    : QAbstractTableModel(padre), tabla_(tabla) {}

QString ModeloProft::campo(int columna) {
    static const QString* const kCampos[] = {&campo::ABREV, &campo::NOMBRE, &campo::X_EMPLEADO,
                                             &campo::F_TOMAPOS};
    return *kCampos[columna];
}

int ModeloProft::anchoCaracteres(int columna) {
    static const int kAnchos[] = {4, 40, 10, 10};
    return kAnchos[columna];
}

QString ModeloProft::mascara(int columna) {
    if (columna == ColEmpleado) return QStringLiteral("#*#");
    if (columna == ColTomaPos) return QStringLiteral("##/##/####");
    return {};
}

void ModeloProft::recargar() {
    beginResetModel();
    filas_.clear();
    filaEditada_ = -1;
    modificada_ = false;
    if (tabla_.active()) {
        for (tabla_.first(); !tabla_.eof(); tabla_.next()) {
            std::array<QString, NumColumnas> fila;
            for (int c = 0; c < NumColumnas; ++c) fila[c] = tabla_.asString(campo(c));
            filas_.push_back(std::move(fila));
        }
    }
    endResetModel();
}

std::optional<int> ModeloProft::postear() {
    if (!modificada_) {
        filaEditada_ = -1;
        return std::nullopt;
    }
    for (int c : {ColEmpleado, ColTomaPos}) {
        const QString& v = pendiente_[c];
        if (!v.isEmpty() && !encajaMascara(v, mascara(c))) return c;
    }
    tabla_.setRecNo(filaEditada_);
    tabla_.edit();
    for (int c : {ColEmpleado, ColTomaPos}) tabla_.setString(campo(c), pendiente_[c]);
    tabla_.post();
    for (int c : {ColEmpleado, ColTomaPos}) {
        filas_[filaEditada_][c] = tabla_.asString(campo(c));
    }
    const int fila = filaEditada_;
    filaEditada_ = -1;
    modificada_ = false;
    emit dataChanged(index(fila, 0), index(fila, NumColumnas - 1));
    return std::nullopt;
}

void ModeloProft::cancelar() {
    const int fila = filaEditada_;
    filaEditada_ = -1;
    modificada_ = false;
    if (fila >= 0) emit dataChanged(index(fila, 0), index(fila, NumColumnas - 1));
}

int ModeloProft::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloProft::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : NumColumnas;
}

QVariant ModeloProft::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || (rol != Qt::DisplayRole && rol != Qt::EditRole)) return {};
    const int f = indice.row();
    return f == filaEditada_ ? pendiente_[indice.column()] : filas_[f][indice.column()];
}

bool ModeloProft::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
    if (rol != Qt::EditRole || !(flags(indice) & Qt::ItemIsEditable)) return false;
    const int f = indice.row();
    if (filaEditada_ != f) {
        // A row left without posting (the grid posts on row change) is dropped here.
        filaEditada_ = f;
        pendiente_ = filas_[f];
        modificada_ = false;
    }
    const QString texto = valor.toString();
    if (texto == pendiente_[indice.column()]) return true;
    pendiente_[indice.column()] = texto;
    modificada_ = true;
    emit dataChanged(indice, indice);
    return true;
}

Qt::ItemFlags ModeloProft::flags(const QModelIndex& indice) const {
    if (!indice.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (indice.column() >= kColumnasFijas) f |= Qt::ItemIsEditable;
    return f;
}

QVariant ModeloProft::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal)
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    switch (rol) {
        case Qt::DisplayRole:
            return campo(seccion);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::FontRole: {
            QFont f;
            f.setBold(true);
            return f;
        }
        default:
            return {};
    }
}

}  // namespace varnolo
