// marlix for JavaScript: the Python module's functions under camelCase
// names, over the library compiled to WebAssembly (marlix_wasm.mjs, the
// WebAssembly inlined). Every failure throws an Error that says what was
// wrong, with the text the Python module's ValueError carries.
import create_marlix from './marlix_wasm.mjs';

const wasm = await create_marlix();

export const version = wasm.version();

function unwrap(answer) {
    if (answer.error !== undefined) throw new Error(answer.error);
    return answer.value;
}

function shown(value) {
    if (typeof value === 'string') return JSON.stringify(value);
    if (typeof value === 'bigint') return `${value}n`;
    return String(value);
}

// A name given as text, or a number written in decimal (25, 29.97):
// label types, frame rates, media and transfers are named either way.
function named(value, what, description) {
    if (typeof value === 'string') return value;
    if (typeof value === 'number' && Number.isFinite(value)) return String(value);
    throw new Error(`${what} is ${description}, not ${shown(value)}`);
}

const labelTypeOf = (type) => named(type, 'a label type', 'a name, a frame rate or "#N"');
const rateOf = (rate, what = 'a rate') => named(rate, what, 'a frame rate ("29.97df", or a number)');

function count(value, what) {
    if (typeof value === 'bigint') value = Number(value);
    if (typeof value !== 'number') throw new Error(`${what} is not a number: ${shown(value)}`);
    return value;
}

function text(value, what) {
    if (typeof value !== 'string') throw new Error(`${what} is not a string: ${shown(value)}`);
    return value;
}

function flag(options, key, fallback) {
    const value = options?.[key];
    if (value === undefined) return fallback;
    if (typeof value !== 'boolean') throw new Error(`${key} is true or false, not ${shown(value)}`);
    return value;
}

function prefixOf(options) {
    const prefix = options?.prefix;
    if (prefix === undefined || prefix === null) return undefined;
    return text(prefix, 'prefix');
}

export function labelText(type, sample, options = {}) {
    return unwrap(wasm.label_text(labelTypeOf(type), count(sample, 'sample'), prefixOf(options),
                                  flag(options, 'strict', true)));
}

export function labelSample(type, label, options = {}) {
    return unwrap(wasm.label_sample(labelTypeOf(type), text(label, 'label'), prefixOf(options),
                                    flag(options, 'strict', true)));
}

export function tcText(frames, rate, options = {}) {
    return unwrap(wasm.tc_text(count(frames, 'frame count'), rateOf(rate),
                               flag(options, 'wrap', true)));
}

export function tcFrames(timecode, rate, options = {}) {
    return unwrap(wasm.tc_frames(text(timecode, 'timecode'), rateOf(rate),
                                 flag(options, 'strict', true)));
}

// framesOrTc: a whole number of frames (a number or a BigInt), or a
// timecode whose frames are added.
export function tcAdd(timecode, framesOrTc, rate, options = {}) {
    let frames = '';
    if (typeof framesOrTc === 'bigint' || Number.isInteger(framesOrTc)) {
        frames = BigInt(framesOrTc).toString();
    } else if (typeof framesOrTc !== 'string') {
        throw new Error('framesOrTc is a frame count (a whole number or a BigInt) or a timecode ' +
                        `(a string), not ${shown(framesOrTc)}`);
    }
    return unwrap(wasm.tc_add(text(timecode, 'timecode'), frames,
                              typeof framesOrTc === 'string' ? framesOrTc : '', rateOf(rate),
                              flag(options, 'wrap', true)));
}

export function tcDuration(inTimecode, outTimecode, rate, options = {}) {
    return unwrap(wasm.tc_duration(text(inTimecode, 'in'), text(outTimecode, 'out'), rateOf(rate),
                                   flag(options, 'signed', false)));
}

export function tcConvert(timecode, fromRate, toRate, options = {}) {
    const method = options?.method === undefined ? 'realtime' : text(options.method, 'method');
    const sync = options?.sync === undefined || options.sync === null ? '' : text(options.sync, 'sync');
    return unwrap(wasm.tc_convert(text(timecode, 'timecode'), rateOf(fromRate, 'fromRate'),
                                  rateOf(toRate, 'toRate'), method, sync));
}

// [keycode, split]: the keycode of the film frame a video frame shows, and
// whether the frame's second field shows the next one.
export function pull(timecode, stock, rate, sync) {
    return unwrap(wasm.pull(text(timecode, 'timecode'), labelTypeOf(stock), rateOf(rate),
                            text(sync, 'sync')));
}

// The xlate options named as the Python module's keyword arguments,
// camelCase; rates, media and the transfer are names or numbers.
const xlateNames = {
    transfer: (v) => named(v, 'transfer', 'none, frame, pulldown or a number'),
    transferRate: (v) => rateOf(v, 'transferRate'),
    videoMedium: (v) => named(v, 'videoMedium', 'a medium'),
    projectRate: (v) => rateOf(v, 'projectRate'),
    cameraSpeed: (v) => rateOf(v, 'cameraSpeed'),
    outputRate: (v) => rateOf(v, 'outputRate'),
    outputScan: (v) => text(v, 'outputScan'),
};
const xlateFlags = ['source24p', 'roundToFrame', 'dropFrame', 'outputPulledDown',
                    'audioSyncPulledDown'];

export function xlate(position, fromMedium, toMedium, options = {}) {
    const given = {};
    for (const [key, value] of Object.entries(options ?? {})) {
        if (value === undefined || value === null) continue;
        if (key in xlateNames) given[key] = xlateNames[key](value);
        else if (xlateFlags.includes(key)) given[key] = flag(options, key, false);
        else if (key === 'sequence') given[key] = count(value, 'sequence');
        else throw new Error(`xlate has no option ${key}`);
    }
    return unwrap(wasm.xlate(count(position, 'position'), named(fromMedium, 'fromMedium', 'a medium'),
                             named(toMedium, 'toMedium', 'a medium'), given));
}

export function cadence(pair, phase = 0) {
    return unwrap(wasm.cadence(text(pair, 'cadence'), count(phase, 'phase')));
}
