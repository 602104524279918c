#include "ImageTestSupport.h"

#include "images/CxImage.h"

#include <QtEndian>

namespace tvl {
namespace {

// Assembles an EMF of 100 × 100 pixels (96 dots per inch, one logical unit a pixel) around the records.
class EmfBuilder
{
public:
    void record(quint32 type, std::initializer_list<quint32> values)
    {
        QByteArray r;
        append(r, type);
        append(r, quint32(8 + 4 * values.size()));
        for (quint32 v : values)
            append(r, v);
        m_records += r;
        ++m_count;
    }
    QByteArray file()
    {
        record(14, {0, 16, 20});
        QByteArray header;
        for (quint32 v : {1u,
                          88u,
                          0u,
                          0u,
                          99u,
                          99u,
                          0u,
                          0u,
                          2646u,
                          2646u,
                          0x464d4520u,
                          0x10000u,
                          quint32(88 + m_records.size()),
                          quint32(m_count + 1),
                          2u,
                          0u,
                          0u,
                          0u,
                          960u,
                          960u,
                          254u,
                          254u})
            append(header, v);
        return header + m_records;
    }

private:
    static void append(QByteArray& out, quint32 v)
    {
        uchar bytes[4];
        qToLittleEndian(v, bytes);
        out.append(reinterpret_cast<const char*>(bytes), 4);
    }
    QByteArray m_records;
    int m_count = 0;
};

TEST(DecodeMetafile, EmfClipRegionAndClipPath)
{
    EmfBuilder emf;
    emf.record(39, {1, 0, 0x0000ff, 0}); // CREATEBRUSHINDIRECT 1: solid red
    emf.record(37, {1});                 // SELECTOBJECT 1
    emf.record(37, {0x80000008});        // SELECTOBJECT NULL_PEN
    // EXTSELECTCLIPRGN, copy: the single rectangle (0, 0)-(50, 100).
    emf.record(75, {48, 5, 32, 1, 1, 16, 0, 0, 50, 100, 0, 0, 50, 100});
    emf.record(43, {0, 0, 100, 100}); // RECTANGLE
    emf.record(75, {0, 5});           // no region: clipping off
    emf.record(39, {2, 0, 0xff0000, 0});
    emf.record(37, {2});
    emf.record(59, {});                 // BEGINPATH
    emf.record(43, {60, 60, 100, 100}); // RECTANGLE into the path
    emf.record(60, {});                 // ENDPATH
    emf.record(67, {5});                // SELECTCLIPPATH, copy
    emf.record(43, {50, 50, 100, 100}); // blue, only where the path allows

    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(emf.file(), CXIMAGE_FORMAT_WMF)) << image.lastError().toStdString();
    EXPECT_EQ(image.Width(), 100);
    EXPECT_EQ(image.PixelColor(25, 50), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.PixelColor(75, 25)), 0) << "clipped away";
    EXPECT_EQ(image.PixelColor(80, 80), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.PixelColor(55, 55)), 0) << "outside the clip path";
}

TEST(DecodeMetafile, TruncatedEmfIsRefused)
{
    EmfBuilder emf;
    emf.record(43, {0, 0, 100, 100});
    QByteArray bytes = emf.file();
    bytes.chop(12);
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(bytes, CXIMAGE_FORMAT_WMF));
    EXPECT_EQ(image.lastError(), QStringLiteral("corrupted EMF"));
}

} // namespace
} // namespace tvl
