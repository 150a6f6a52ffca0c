#pragma once

// Each window test runs in a fresh temporary working folder.

#include "database/DataFile.h"
#include "database/Defaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace veskar::testing {

class TestFolder {
  public:
    TestFolder() : m_previous(QDir::currentPath())
    {
        EXPECT_TRUE(m_dir.isValid());
        EXPECT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    ~TestFolder() { QDir::setCurrent(m_previous); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    [[nodiscard]] QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    void writeImage(const QString& name, const Image& image) const
    {
        ASSERT_EQ(WriteImageFile(path(name).toStdString(), image), FileError::None);
    }
    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    [[nodiscard]] QByteArray readBytes(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// A configuration that differs from the defaults in a way a test can see.
inline Image MarkedImage(Byte modbusAddress)
{
    Image image{};
    CreateDatabase(image);
    image.gen.modbusAddress = modbusAddress;
    return image;
}

} // namespace veskar::testing
