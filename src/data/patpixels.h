#pragma once

#include <QByteArray>
#include <QString>

// The 4-bit pixels of a pattern file in memory: reading them from a .pat, changing them and
// writing them back behind the file's own header line with a fresh checksum.
class PatPixels
{
public:
    // Loads a file that passes checkPatFile (codes 0, 2, 3) and whose header fits its line
    // (W >= 4); anything else leaves the object empty and returns false.
    bool load(const QString &path);
    bool loadData(const QByteArray &file);
    // Writes the header line as it now is on disk, the pixels and a checksum, atomically.
    bool save(const QString &path) const;
    // The bytes save() would write after the given header line (W bytes).
    QByteArray fileData(const QByteArray &headerLine) const;

    bool isLoaded() const { return loaded_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int lineBytes() const { return lineBytes_; }
    const QByteArray &headerLine() const { return header_; }

    // Pixel in column x of pattern line y (line 0 is the first line after the header);
    // 0 outside the pattern.
    int pixel(int x, int y) const;
    // Sets a pixel to value & 0x0f; false (and nothing changed) outside the pattern.
    bool setPixel(int x, int y, int value);

private:
    bool inside(int x, int y) const;

    bool loaded_ = false;
    int width_ = 0;
    int lineBytes_ = 0;
    int height_ = 0;
    QByteArray header_;
    QByteArray pixels_;
};
