/**
 * An affine transformation of 3-D space as a 3 x 4 matrix (rotation and scale in
 * the first three columns, translation in the fourth). Every operation applies a
 * further step after the ones already held.
 */
public class Matrix3D {
    private final double[][] m = new double[3][4];

    public Matrix3D() { unit(); }

    public final void unit() {
        for (int r = 0; r < 3; r++)
            for (int c = 0; c < 4; c++)
                m[r][c] = r == c ? 1.0 : 0.0;
    }

    /** this = step * this, both seen as 4 x 4 matrices with the row 0 0 0 1. */
    private void then(double[][] step) {
        double[][] out = new double[3][4];
        for (int r = 0; r < 3; r++) {
            for (int c = 0; c < 4; c++) {
                double v = step[r][0] * m[0][c] + step[r][1] * m[1][c] + step[r][2] * m[2][c];
                if (c == 3) v += step[r][3];
                out[r][c] = v;
            }
        }
        for (int r = 0; r < 3; r++) System.arraycopy(out[r], 0, m[r], 0, 4);
    }

    public void translate(double x, double y, double z) {
        then(new double[][] {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}});
    }

    public void scale(double sx, double sy, double sz) {
        then(new double[][] {{sx, 0, 0, 0}, {0, sy, 0, 0}, {0, 0, sz, 0}});
    }

    /** Turn about the x axis: y towards z. */
    public void xrot(double angle) {
        double c = Math.cos(angle), s = Math.sin(angle);
        then(new double[][] {{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}});
    }

    /** Turn about the y axis: z towards x. */
    public void yrot(double angle) {
        double c = Math.cos(angle), s = Math.sin(angle);
        then(new double[][] {{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}});
    }

    /** Turn about the z axis: x towards y. */
    public void zrot(double angle) {
        double c = Math.cos(angle), s = Math.sin(angle);
        then(new double[][] {{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}});
    }

    /** Transforms count points of in (x, y, z each) into out. */
    public void transform(double[] in, double[] out, int count) {
        for (int i = 0; i < count; i++) {
            double x = in[3 * i], y = in[3 * i + 1], z = in[3 * i + 2];
            for (int r = 0; r < 3; r++)
                out[3 * i + r] = m[r][0] * x + m[r][1] * y + m[r][2] * z + m[r][3];
        }
    }
}
