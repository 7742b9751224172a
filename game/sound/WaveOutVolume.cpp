// Wave-out player: the stream's volume and the mixer's speaker volume.
#include "game/sound/WaveOut.h"
#include "game/sound/WavePlayer.h"

#include <algorithm>

namespace {

// The volume control of the speakers line of mixer 0.
class MasterVolume {
public:
    MasterVolume() {
        if (mixerOpen(&m_mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
            m_mixer = nullptr;
            return;
        }
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        if (mixerGetLineInfoA(Object(), &line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR) return;
        MIXERLINECONTROLSA controls{};
        controls.cbStruct = sizeof controls;
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof m_control;
        controls.pamxctrl = &m_control;
        m_found = mixerGetLineControlsA(Object(), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
    }
    ~MasterVolume() {
        if (m_mixer) mixerClose(m_mixer);
    }
    MasterVolume(const MasterVolume&) = delete;
    MasterVolume& operator=(const MasterVolume&) = delete;

    int Get() {
        MIXERCONTROLDETAILS_UNSIGNED value{};
        MIXERCONTROLDETAILS details = Details(value);
        if (!m_found || mixerGetControlDetailsA(Object(), &details, MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
            return -1;
        return static_cast<int>(value.dwValue);
    }

    int Set(int volume) {
        if (!m_found) return -1;
        MIXERCONTROLDETAILS_UNSIGNED value{};
        value.dwValue = static_cast<DWORD>(std::clamp<int64_t>(volume, m_control.Bounds.dwMinimum, m_control.Bounds.dwMaximum));
        MIXERCONTROLDETAILS details = Details(value);
        if (mixerSetControlDetails(Object(), &details, MIXER_SETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR) return -1;
        return static_cast<int>(value.dwValue);
    }

private:
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(m_mixer); }
    MIXERCONTROLDETAILS Details(MIXERCONTROLDETAILS_UNSIGNED& value) const {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = m_control.dwControlID;
        details.cChannels = 1;  // one value for all channels
        details.cbDetails = sizeof value;
        details.paDetails = &value;
        return details;
    }

    HMIXER m_mixer = nullptr;
    MIXERCONTROLA m_control{};
    bool m_found = false;
};

}  // namespace

int WaveOutSetVolume(int volume) {
    WavePlayer& p = Player();
    HWAVEOUT device = p.device.load();
    if (!device || !(p.caps.dwSupport & WAVECAPS_VOLUME)) return -1;
    const DWORD v = static_cast<DWORD>(std::clamp(volume, 0, 0xFFFF));
    const DWORD both = (p.caps.dwSupport & WAVECAPS_LRVOLUME) ? (v | v << 16) : v;
    return waveOutSetVolume(device, both) == MMSYSERR_NOERROR ? static_cast<int>(v) : -1;
}

int WaveOutGetVolume() {
    WavePlayer& p = Player();
    HWAVEOUT device = p.device.load();
    if (!device || !(p.caps.dwSupport & WAVECAPS_VOLUME)) return -1;
    DWORD v = 0;
    if (waveOutGetVolume(device, &v) != MMSYSERR_NOERROR) return -1;
    return WaveVolumeFromDevice(v, p.caps.dwSupport);
}

int WaveVolumeFromDevice(DWORD deviceValue, DWORD support) {
    if (support & WAVECAPS_LRVOLUME) return static_cast<int>(((deviceValue & 0xFFFF) + (deviceValue >> 16)) / 2);
    return static_cast<int>(deviceValue & 0xFFFF);
}

int MixerSetMasterVolume(int volume) { return MasterVolume().Set(volume); }

int MixerGetMasterVolume() { return MasterVolume().Get(); }
