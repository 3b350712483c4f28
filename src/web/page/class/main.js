// A lesson with a class, loaded by the page (class_offer.js) only when a class starts or is joined:
// class.js, joined by the build from this module and those it imports, with the message server's
// client. It hands the page its two ways into a lesson.
import { join } from './pupil.js';
import { teach } from './teacher.js';

globalThis.plotnikClass = { teach, join };
