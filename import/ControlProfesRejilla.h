#pragma once
// The editable grid of the teacher data dialog: the first two columns stay in place
// and are never edited, Enter moves on like Tab, the masked columns accept only what
// can fit their masks, and a changed row is posted when the user leaves it or the
// grid; a row that does not fit its masks keeps the user on the refused cell.

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "ControlProfesModelo.h"

namespace varnolo {

/// Line editors with the column's mask validator; Enter commits and moves on.
class DelegadoMascaras : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& indice) const override {
        if (editor == editor_) editor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, indice);
    }
    /// The editor open now, if any.
    QWidget* editorAbierto() const { return editor_; }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    mutable QPointer<QWidget> editor_;
};

class RejillaProft : public QTableView {
    Q_OBJECT
  public:
    RejillaProft(ModeloProft* modelo, QWidget* padre, const QFont& letra);
    /// Shows a refusal to the user; a message box unless a test replaces it.
    std::function<void(const QString&)> avisar;

    /// Commits the open editor and posts the pending row. On a refusal the cell of
    /// the failing field gets the focus, the message is shown, and false returned.
    bool terminarEdicion();
    /// Drops the open editor and the pending changes.
    void cancelarEdicion();
    /// Moves to a row, keeping the column (an editable one).
    void irAFila(int fila);

  protected:
    void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void scrollTo(const QModelIndex& indice, ScrollHint pista = EnsureVisible) override;

  private:
    void rechazar(int fila, int columna);
    void colocarVistaFija();

    ModeloProft* modelo_;
    DelegadoMascaras* delegado_;
    QTableView* vistaFija_;
    bool volviendo_ = false;
};

}  // namespace varnolo
