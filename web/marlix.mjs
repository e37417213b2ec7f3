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
// whether the frame's second field shows the next one; with footage (the
// counter on the sync point's frame, "12+00") or ink (the ink number
// there), [keycode, split, footage, ink], null for the one not given.
export function pull(timecode, stock, rate, sync, options = {}) {
    const column = (key) => {
        const value = options?.[key];
        return value === undefined || value === null ? undefined : text(value, key);
    };
    return unwrap(wasm.pull(text(timecode, 'timecode'), labelTypeOf(stock), rateOf(rate),
                            text(sync, 'sync'), column('footage'), column('ink')));
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

// A list's text: a string, or its bytes (UTF-8, else ISO-8859-1).
function listText(value, what) {
    if (typeof value === 'string' || value instanceof Uint8Array) return value;
    throw new Error(`${what} is a string or a Uint8Array, not ${shown(value)}`);
}

function optionalText(options, key) {
    const value = options?.[key];
    return value === undefined || value === null ? '' : text(value, key);
}

// [key, text] pairs from an object or from pairs, sorted by key.
function pairs(value, what) {
    const entries = Array.isArray(value) ? value : Object.entries(value);
    return entries.map((pair) => {
        if (!Array.isArray(pair) || pair.length !== 2)
            throw new Error(`${what} holds [name, text] pairs, not ${shown(pair)}`);
        return [text(pair[0], what), text(pair[1], what)];
    });
}

// CMX 3600 edit decision lists, as the Python module's marlix.edl: a
// document is a plain object, its canonical text in text.
export const edl = Object.freeze({
    read(listTextOrBytes, rate, options = {}) {
        return unwrap(wasm.edl_read(listText(listTextOrBytes, 'an EDL'), rateOf(rate),
                                    flag(options, 'strict', false)));
    },
    convert(listTextOrBytes, rate, to, options = {}) {
        const reelSyncs = options?.reelSyncs === undefined || options.reelSyncs === null
            ? [] : pairs(options.reelSyncs, 'reelSyncs').sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0));
        return unwrap(wasm.edl_convert(listText(listTextOrBytes, 'an EDL'), rateOf(rate),
                                       rateOf(to, 'to'), optionalText(options, 'method'),
                                       optionalText(options, 'sync'), reelSyncs,
                                       flag(options, 'keepSources', false)));
    },
});

const filmOptionNames = ['rate', 'stock', 'transfer', 'leader', 'reelMap', 'handles',
                         'dissolveLengths', 'previous'];

// A video list matched back to key numbers through telecine logs (ALE
// texts), as the Python module's film_lists; each list that has rows also
// as a table of the tool's cells and its CSV.
export function filmLists(list, logs, options = {}) {
    for (const key of Object.keys(options ?? {}))
        if (!filmOptionNames.includes(key)) throw new Error(`filmLists has no option ${key}`);
    if (!Array.isArray(logs)) throw new Error(`logs is an array of logs, not ${shown(logs)}`);
    const given = {
        rate: rateOf(options?.rate),
        leader: options?.leader === undefined ? '0+00' : text(options.leader, 'leader'),
        handles: options?.handles === undefined ? 1 : count(options.handles, 'handles'),
    };
    for (const key of ['stock', 'transfer'])
        if (options?.[key] !== undefined && options[key] !== null)
            given[key] = named(options[key], key, 'a name');
    if (options?.reelMap !== undefined && options.reelMap !== null)
        given.reelMap = pairs(options.reelMap, 'reelMap');
    if (options?.dissolveLengths !== undefined && options.dissolveLengths !== null) {
        if (!Array.isArray(options.dissolveLengths))
            throw new Error(`dissolveLengths is an array of frames, not ${shown(options.dissolveLengths)}`);
        given.dissolveLengths = options.dissolveLengths.map((n) => count(n, 'a dissolve length'));
    }
    if (options?.previous !== undefined && options.previous !== null)
        given.previous = listText(options.previous, 'the previous EDL');
    const texts = logs.map((log) => listText(log, 'a log'));
    const edlText = listText(list, 'an EDL');
    const lists = unwrap(wasm.film_lists(edlText, texts, given, ''));
    const untitled = lists.audioEdl;
    // The sound rolls as an EDL at the sound timecode's rate.
    lists.audioEdl = (title = '') => (title === '' ? untitled
        : unwrap(wasm.film_lists(edlText, texts, given, text(title, 'title'))).audioEdl);
    return lists;
}

// The library's diagnostics go to fn(text), one message a call, instead of
// standard error; null restores standard error. A throw from fn is
// dropped: a message lost is no reason to fail the library's caller.
export function onDiagnostic(fn) {
    if (fn !== null && typeof fn !== 'function')
        throw new Error(`onDiagnostic takes a function or null, not ${shown(fn)}`);
    wasm.on_diagnostic(fn === null ? null : (message) => {
        try {
            fn(message);
        } catch {
            // dropped, as said above
        }
    });
}
