#include "card/recordermodel.h"

#include <array>

namespace {

struct ModelNames {
    RecorderModel model;
    const char16_t* tag;
    const char16_t* name;
    const char16_t* volumeLabel;
};

// In the order the volume labels are compared.
constexpr std::array<ModelNames, 7> Models{{
    {RecorderModel::BR532, u"BR-532 ", u"BR-532", u"BOSS_BR-532"},
    {RecorderModel::BR864, u"BR-864 ", u"BR-864", u"BOSS_BR-864"},
    {RecorderModel::BR900, u"BR-900 ", u"BR-900", u"BOSS_BR-900"},
    {RecorderModel::BR600, u"BR-600 ", u"BR-600", u"BOSS_BR-600"},
    {RecorderModel::MicroBR, u"MicroBR", u"Micro BR", u"MICRO_BR"},
    {RecorderModel::BR800, u"BR-800 ", u"BR-800", u"BOSS_BR-800"},
    {RecorderModel::BR80, u"BR-80  ", u"BR-80", u"BOSS_BR-80"},
}};

const ModelNames* Find(RecorderModel model) {
    for (const ModelNames& m : Models) {
        if (m.model == model)
            return &m;
    }
    return nullptr;
}

} // namespace

QString RecorderModelName(RecorderModel model) {
    const ModelNames* m = Find(model);
    return m ? QString::fromUtf16(m->name) : QStringLiteral("???");
}

QString RecorderModelTag(RecorderModel model) {
    const ModelNames* m = Find(model);
    return m ? QString::fromUtf16(m->tag) : QString();
}

QString RecorderModelVolumeLabel(RecorderModel model) {
    const ModelNames* m = Find(model);
    return m ? QString::fromUtf16(m->volumeLabel) : QString();
}

RecorderModel RecorderModelFromTag(const QString& tag) {
    for (const ModelNames& m : Models) {
        if (tag == QStringView(m.tag))
            return m.model;
    }
    return RecorderModel::None;
}

RecorderModel RecorderModelFromVolumeLabel(const QString& label) {
    for (const ModelNames& m : Models) {
        if (label == QStringView(m.volumeLabel))
            return m.model;
    }
    return RecorderModel::None;
}
