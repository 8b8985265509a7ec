#pragma once
// What the fuzz targets share: one application on the offscreen platform, scripted services (no
// box, dialog or network call ever blocks), a work folder of their own, and the program's
// built-in texts.
#include "platform/ScriptedServices.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace kt_fuzz {

// Starts everything once; call from LLVMFuzzerInitialize.
void Start(int* argc, char*** argv);
// The work folder; each target writes its input files here.
QString Path(const QString& name);
void Put(const QString& path, const QByteArray& data);
// The scripted services, cleared for each input so that nothing piles up.
platform::ScriptedServices& Services();
void Clear_Services();

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace kt_fuzz
