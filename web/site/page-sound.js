// Music and voices: MIDI through FluidSynth compiled to WebAssembly (js-synthesizer, running in
// an AudioWorklet so that the page's thread stays free) with Debian's TimGM6mb General MIDI
// soundfont, the desktop's synthesiser and soundfont; wave files through Web Audio. Browsers
// start sound only after the player's first click or key, so the sound waits for that.
//
// The music has played out when its own length has passed on the sound's clock (the
// synthesiser's release tail would keep it going for seconds more), as on the desktop: the
// game's loop check then starts it again.

const SYNTH = "synth/";
const SOUNDFONT = SYNTH + "TimGM6mb.sf2";
// The synthesiser's loudest level: the desktop's share of full scale, which keeps loud General
// MIDI songs from clipping.
const LOUDEST_MUSIC = 53 / 128;

export class Sound {
    constructor(volumePercent) {
        this.context = null;
        this.synth = null;
        this.ready = null;  // resolves once the synthesiser has its soundfont
        this.chain = Promise.resolve();
        this.musicGain = null;
        this.volume = volumePercent;
        this.music = { open: false, playing: false, length: 0, startedAt: 0, pausedAt: 0 };
        this.voice = null;
    }

    // The audio context, made on first use; it runs once the player has clicked or pressed a key.
    audio() {
        if (!this.context) {
            this.context = new AudioContext();
            this.musicGain = this.context.createGain();
            this.musicGain.connect(this.context.destination);
            this.setVolume(this.volume);
        }
        return this.context;
    }

    wake() {
        if (this.context && this.context.state === "suspended") this.context.resume();
    }

    setVolume(percent) {
        this.volume = Math.max(0, Math.min(100, percent));
        if (this.musicGain) this.musicGain.gain.value = LOUDEST_MUSIC * this.volume / 100;
    }

    synthesizer() {
        if (!this.ready) {
            const context = this.audio();
            this.ready = (async () => {
                await context.audioWorklet.addModule(SYNTH + "libfluidsynth-2.4.6.js");
                await context.audioWorklet.addModule(SYNTH + "js-synthesizer.worklet.min.js");
                const synth = new JSSynth.AudioWorkletNodeSynthesizer();
                synth.init(context.sampleRate);
                synth.createAudioNode(context).connect(this.musicGain);
                const soundfont = await fetch(SOUNDFONT);
                if (!soundfont.ok) throw new Error(`${SOUNDFONT}: ${soundfont.status}`);
                await synth.loadSFont(await soundfont.arrayBuffer());
                this.synth = synth;
            })().catch((error) => {
                console.warn("corvan: the music cannot be played:", error);
            });
        }
        return this.ready;
    }

    // The synthesiser's work, one step after the other, once it is ready.
    queue(step) {
        this.chain = this.chain.then(() => this.synthesizer()).then(() => this.synth && step(this.synth))
            .catch((error) => console.warn("corvan: music:", error));
    }

    now() {
        return this.context ? this.context.currentTime : 0;
    }

    openMusic(bytes, seconds) {
        this.music = { open: true, playing: false, length: seconds, startedAt: 0, pausedAt: null };
        this.queue(async (synth) => {
            synth.stopPlayer();
            await synth.resetPlayer();
            await synth.addSMFDataToPlayer(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length));
        });
    }

    rewindMusic() {
        if (!this.music.open) return;
        this.music.playing = false;
        this.music.pausedAt = null;
        this.queue((synth) => {
            synth.stopPlayer();
            synth.seekPlayer(0);
        });
    }

    playMusic() {
        if (!this.music.open || this.music.playing) return;
        this.audio();
        const now = this.now();
        // Resumed music has the pause added to its start; music from its start starts now.
        this.music.startedAt = this.music.pausedAt === null ? now : this.music.startedAt + now - this.music.pausedAt;
        this.music.pausedAt = null;
        this.music.playing = true;
        this.queue((synth) => synth.playPlayer());
    }

    stopMusic() {
        if (!this.music.playing) return;
        this.music.playing = false;
        this.music.pausedAt = this.now();
        this.queue((synth) => synth.stopPlayer());
    }

    musicStopped() {
        if (!this.music.playing) return true;
        return this.music.length > 0 && this.now() - this.music.startedAt >= this.music.length;
    }

    // Null when the voice plays, else why it cannot.
    async playVoice(bytes) {
        const context = this.audio();
        let buffer;
        try {
            buffer = await context.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length));
        } catch (error) {
            return `the wave file cannot be decoded (${error.message || error})`;
        }
        if (this.voice) this.voice.stop();
        this.voice = context.createBufferSource();
        this.voice.buffer = buffer;
        this.voice.connect(context.destination);
        this.voice.start();
        return null;
    }

    // The page is closing or another game starts: everything stops.
    stopAll() {
        if (this.voice) this.voice.stop();
        this.voice = null;
        this.music = { open: false, playing: false, length: 0, startedAt: 0, pausedAt: null };
        if (this.synth) this.queue((synth) => synth.stopPlayer());
    }
}
