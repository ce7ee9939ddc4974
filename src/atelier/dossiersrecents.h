#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

namespace kelvane::atelier {

// The folders the workbench opened, the last one first (kept in QSettings), and the menu that opens them again.
class DossiersRecents : public QObject {
    Q_OBJECT
public:
    explicit DossiersRecents(QMenu* menu, QObject* parent = nullptr);

    // Puts that folder first, the oldest going past the list's length.
    void retenir(const QString& dossier);
    // The last folder opened, or the empty text.
    QString dernier() const;

signals:
    // The teacher chose that folder in the menu.
    void dossierDemande(const QString& dossier);

private:
    void majMenu();

    QMenu* menu_;
};

} // namespace kelvane::atelier
