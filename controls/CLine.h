#pragma once

#include <QWidget>

class ControlHost;
class PropertyBag;

// An etched separator line two pixels thick. Its shape decides its direction: wider than
// tall it is horizontal, else vertical, and every resize trims it to two pixels across.
class CLine : public QWidget
{
    Q_OBJECT

public:
    explicit CLine(ControlHost &host, QWidget *parent = nullptr);

    // 0 horizontal, 1 vertical. Setting it lays the line out again, so what reads back is
    // always what the shape implies.
    qint32 Orientation() const { return m_Orientation; }
    void setOrientation(qint32 New_Orientation);

    void ReadProperties(const PropertyBag &PropBag);
    void WriteProperties(PropertyBag &PropBag) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void layoutLine();

    ControlHost &m_host;
    qint32 m_Orientation = 0;
};
