// Compiled (never run) by tsc against the declarations beside the built
// module: they parse, and they type the calls the README shows.
import { cadence, labelSample, labelText, pull, tcAdd, tcConvert, tcDuration, tcFrames, tcText,
         version, xlate } from '../site/marlix.mjs';

const text: string = labelText('F35', 1000, { prefix: 'KJ 12 3456' }) + tcText(-1, 25, { wrap: false }) + version;
const frames: number = labelSample('P', ' 01:02:03.04', { strict: false }) +
                       tcFrames('00:01:00;02', '29.97df') + tcDuration('23:00:00:00', '01:00:00:00', 25, { signed: true });
const moved: string = tcAdd('00:00:00:00', 10n ** 15n, 25, { wrap: false }) +
                      tcConvert('00:00:00:04', 24, 30, { method: 'pulldown', sync: '00:00:00:00=00:00:01:00' });
const [keycode, split]: [string, boolean] = pull('01:00:00:02', 'F35', 29.97, 'KJ 12 3456 0000+00=01:00:00:00');
const seconds: number = xlate(1, 'Playout25p', 'Audio', { projectRate: 25, roundToFrame: true });
const fields: string[] = cadence('24:30i', 1);
// @ts-expect-error: a label type is a name or a number
labelText(true, 0);
// @ts-expect-error: the pulldown methods are named
tcConvert('00:00:00:00', 24, 30, { method: 'speed' });
export { fields, frames, keycode, moved, seconds, split, text };
